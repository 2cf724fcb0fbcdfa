// A skin file must not make the program read anything but itself: the SVG reader would load
// an <image> from any path or file: URL it names, and a style sheet from an xml-stylesheet
// instruction. Any thread (no shared state).
#pragma once

#include <QByteArray>

namespace quillet {

// The SVG document with every reference to something outside it removed: href attributes
// (in any namespace) other than "#id" fragments and embedded "data:" URIs, and
// processing instructions other than the XML declaration. A document without any comes back
// unchanged, byte for byte; one that is not well-formed XML comes back empty.
[[nodiscard]] QByteArray SelfContainedSvg(const QByteArray& svg);

} // namespace quillet
