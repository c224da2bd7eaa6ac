// The display page of the settings dialog: how pictures are shown.
#pragma once

#include <windows.h>

// Creation parameter: the frame's SaverSettings.
INT_PTR CALLBACK DisplayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the word for the speed trackbar's position (empty outside 1..5).
void UpdateSpeedLabel(HWND page);

// After a number edit loses the focus: a changed value outside lower..upper
// is replaced by the nearer bound (text that is no number counts as 0), and
// the up-down writes it back into the edit.
void ClampSpinEdit(HWND page, int edit, int upDown, unsigned lower, unsigned upper);

// The transparent-colour group follows its check box and radio buttons.
void UpdateMaskControls(HWND page);
