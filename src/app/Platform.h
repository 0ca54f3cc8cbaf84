#pragma once

// Before the application object exists: choices about the platform's event
// loop. Qt's plain Unix event dispatcher answers socket events about a fifth
// faster than the GLib one; the tool needs none of GLib's integration. A value
// the user set for QT_NO_GLIB is kept.
void PrepareApplicationEnvironment();
