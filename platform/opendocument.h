// Hands a file, a page or a web address to the desktop's default application for it (the
// help page, the web-site links). UI thread; returns at once: the opener runs as a process
// of its own.
#pragma once

#include <QString>

namespace quillet {

// An absolute path is opened as a local file, anything else as an address (a URL with its
// scheme). Goes through the display platform's desktop services, or straight to the
// desktop's opener (xdg-open) where the platform has none. True when the request was handed
// on; false for an empty text, a relative path, an address without a scheme, or when no
// opener could be started. What the opener then does is its own affair.
bool OpenDocument(const QString& fileOrAddress);

} // namespace quillet
