#include "components/skin/selfcontained.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace quillet {

namespace {

bool IsOutsideReference(const QXmlStreamAttribute& attribute)
{
    // The local name: the rewrite reads without namespace processing, so "xlink:href" there.
    const QStringView name = attribute.qualifiedName();
    if (name != u"href" && !name.endsWith(u":href"))
        return false;
    const QStringView value = attribute.value().trimmed();
    return !value.startsWith(u'#') && !value.startsWith(u"data:", Qt::CaseInsensitive);
}

// What the document holds that reaches outside it; false also when it is not well-formed.
bool ReachesOutside(const QByteArray& svg, bool& wellFormed)
{
    QXmlStreamReader reader(svg);
    bool outside = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::ProcessingInstruction:
            outside = true;
            break;
        case QXmlStreamReader::StartElement:
            for (const QXmlStreamAttribute& a : reader.attributes())
                outside = outside || IsOutsideReference(a);
            break;
        default:
            break;
        }
    }
    wellFormed = !reader.hasError();
    return outside;
}

// The same document written again without the outside references. Only reached for a
// document that has some, so the rewrite (which drops the DTD, with internal entities
// already expanded where they were used) never touches an ordinary skin.
QByteArray Rewritten(const QByteArray& svg)
{
    QByteArray out;
    QXmlStreamReader reader(svg);
    reader.setNamespaceProcessing(false);
    QXmlStreamWriter writer(&out);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            writer.writeStartDocument();
            break;
        case QXmlStreamReader::StartElement:
            writer.writeStartElement(reader.qualifiedName().toString());
            for (const QXmlStreamAttribute& a : reader.attributes())
                if (!IsOutsideReference(a))
                    writer.writeAttribute(a.qualifiedName().toString(), a.value().toString());
            break;
        case QXmlStreamReader::EndElement:
            writer.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            if (reader.isCDATA())
                writer.writeCDATA(reader.text().toString());
            else
                writer.writeCharacters(reader.text().toString());
            break;
        case QXmlStreamReader::Comment:
            writer.writeComment(reader.text().toString());
            break;
        case QXmlStreamReader::EndDocument:
            writer.writeEndDocument();
            break;
        default: // DTD, entity references, processing instructions: dropped
            break;
        }
    }
    return reader.hasError() ? QByteArray() : out;
}

} // namespace

QByteArray SelfContainedSvg(const QByteArray& svg)
{
    bool wellFormed = false;
    const bool outside = ReachesOutside(svg, wellFormed);
    if (!wellFormed)
        return {};
    return outside ? Rewritten(svg) : svg;
}

} // namespace quillet
