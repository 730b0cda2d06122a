#pragma once

#include <QFont>

// The window was drawn for a compact dialog font; these are the installed
// faces that fit its labels and buttons without clipping.
QFont dialogFont();
// The bold "System" face at 9.75 pt, or a narrow bold sans-serif standing in
// for it where no font of that name is installed.
QFont boldSystemFont();
