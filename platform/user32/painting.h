// Update regions and WM_PAINT: what needs painting, and showing what was painted.
#pragma once

#include <QRegion>
#include <optional>

#include "platform/user32/message_queue.h"
#include "platform/user32/window.h"

namespace win32::user32 {

// Adds to the window's update region (client coordinates, clipped to the client area).
void InvalidateClient(Window& w, const QRegion& region, bool erase);

// A WM_PAINT for the first window of this queue that the filter accepts and that needs
// painting. Retrieving it does not validate anything: only BeginPaint or ValidateRect do.
std::optional<MSG> TakePaint(ThreadQueue& queue, const MessageFilter& filter, bool remove);

// True when a window of this queue that the filter accepts needs painting.
bool PaintPending(ThreadQueue& queue, const MessageFilter& filter);

// Shows the pixels drawn into this part of the window's buffer.
void Present(Window& w, const QRect& area);

}  // namespace win32::user32
