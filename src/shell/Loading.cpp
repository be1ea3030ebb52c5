#include "shell/Loading.h"

#include "graphics/WorkWithMemory.h"
#include "shell/Form1.h"
#include "shell/GameState.h"

// Steps of a whole start-up: 46 pictures, 40 sounds and the last one.
static constexpr int StartUpSteps = 87;
static int Steps = 0;

void LoadingProgress() {
    Steps++;
    BitBlt(Field, 0, 0, 300, 300, MainLogo, 0, 0, SRCCOPY);
    // The bar slides in from the left as loading advances.
    int shown = Steps > StartUpSteps ? StartUpSteps : Steps;
    int x = shown * 300 / StartUpSteps - 300;
    BitBlt(Field, x, 287, 300, 13, Loading, 0, 0, SRCCOPY);
    Field.TextColour = RGB(0xC0, 0xFF, 0xC0);
    Field.FontSize = 8;
    Field.FontBold = false;
    TextOut(Field, 4, 272, LoadingText);
    PresentForm();
    DoEvents();
}

void ResetLoadingProgress() { Steps = 0; }
int LoadingSteps() { return Steps; }
