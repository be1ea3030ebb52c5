#include "opponents/Cleaner.h"

void CleanerStep() {}
