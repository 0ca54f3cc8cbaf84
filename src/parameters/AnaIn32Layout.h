#pragma once
// Vertical layout of the 32-bit analog input parameter window, in units of
// the height h of one selection box: a heading, then one band of 2.25 h per
// channel row.

struct AnaIn32Layout {
    int groupHeight = 0;  // the channel group box
    int controlsTop = 0;  // top of the memo and the three buttons
    int clientHeight = 0; // the window's height without its frame
};

// For n rows: group box round(n x 2.25 h + 2 h), memo and buttons at
// round(group box + 1.25 h), window group box + memo height + 2 h.
AnaIn32Layout ActivationLayout(int n, int h, int memoHeight);

// Top of row `row` (1..16) inside the group box, below the two heading lines.
int RowTop(int row, int h);
