#pragma once

#include "captionfit.h"

#include <QFont>
#include <QStringList>

// The window was drawn for a compact dialog font: a proportional sans-serif
// face, the narrow ones that fit its labels first.
QFont dialogFont();
// The bold "System" face at 9.75 pt, or a bold sans-serif standing in for it
// where no font of that name is installed.
QFont boldSystemFont();

// The font among those the caption rule gives for `role` in which every one
// of `lines` fits `room` (device pixels), painted at `devicePixelRatio`.
QFont fittedFont(const QFont& role, const QStringList& lines, CaptionRoom room,
                 qreal devicePixelRatio);
