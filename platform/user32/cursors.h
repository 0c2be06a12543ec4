// The mouse pointer: where it is (for messages' `pt` and GetCursorPos, readable from any
// thread) and the shapes of the standard cursors.
#pragma once

#include <QPoint>
#include <QtCore/qnamespace.h>
#include <optional>

#include "platform/win32_types.h"

namespace win32::user32 {

POINT CursorPositionNow();

// Qt reported the pointer here (screen coordinates).
void NoteCursorPosition(QPoint global);

// The Qt shape of a cursor from LoadCursorA; nothing for an unknown handle.
std::optional<Qt::CursorShape> CursorShapeOf(HCURSOR cursor);

}  // namespace win32::user32
