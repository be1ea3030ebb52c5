// The cleaning creature "Buger".
#pragma once

void CleanerStep();
