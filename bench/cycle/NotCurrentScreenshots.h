#pragma once
#include <QString>

// Pictures of the control window after its coupler went away: the last
// values greyed under the line since when nothing came, in German and
// English, saved as control-not-current-de.png and -en.png in `folder`.
// Returns 0 when both were taken.
int TakeNotCurrentScreenshots(const QString &folder, const QString &slotList);
