#pragma once

// The window's typefaces, colours and pictures.

#include "control_table.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPalette>

#include <initializer_list>

namespace tivora {

// Qt has no role for an inactive title bar. This is the default of that
// system colour on current Windows (191, 205, 219); the gray of the old
// Classic scheme would leave the black captions on it hard to read.
inline const QColor kInactiveTitle(191, 205, 219);

// The tint of an input that makes no physical sense: a pale amber that keeps
// black figures readable.
inline const QColor kWarningTint(255, 228, 160);

QFont fontFor(FontRole role);

// The colours the window was drawn with, on every desktop theme: its
// background is a fixed light picture, so its controls keep Qt's own light
// palette (black text, white boxes) where a dark theme would put light text
// on it. Set once on the window, before its controls are made, so that they
// inherit it; the window's dialogs and menus, being windows of their own,
// follow the desktop.
QPalette drawnPalette();

// A picture from the resources; `sharp` takes its @2x file, for a
// double-density screen.
QImage readPicture(const QString& path, bool sharp);
QIcon iconOf(std::initializer_list<QString> paths, bool sharp);

}  // namespace tivora
