#pragma once
// Vertical layout of the 16-bit analog input parameter window, in units of
// the height h of one type selection box: a heading, then one row of 1.75 h
// per channel.

struct AnaInLayout {
    int groupHeight = 0;  // the channel group box
    int controlsTop = 0;  // top of the memo and the three buttons
    int clientHeight = 0; // the window's height without its frame
};

// For n rows: group box round(n x 1.75 h + 2 h), memo and buttons at
// round(group box + 0.75 h), window group box + memo height + 2 h.
AnaInLayout AnaInActivationLayout(int n, int h, int memoHeight);

// Top of the first row inside the group box: below the two heading lines that
// end at `headingBottom`, within 1.9 h .. 2.65 h so that sixteen rows fit.
int AnaInFirstRowTop(int h, int headingBottom);
// Top of row `row` (1..16) inside the group box.
int AnaInRowTop(int row, int h, int firstTop);
