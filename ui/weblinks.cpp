#include "ui/weblinks.h"

#include "platform/programdir.h"

namespace quillet {

WebLinks::WebLinks(QString programDir, OpenDocumentFunction openDocument)
    : m_programDir(std::move(programDir)), m_openDocument(std::move(openDocument))
{
}

QString WebLinks::HelpPath() const
{
    return WithTrailingSlash(m_programDir) + QLatin1String(HelpPage);
}

void WebLinks::readme_Click() const
{
    Open(HelpPath());
}

void WebLinks::download_Click() const
{
    Open(QLatin1String(SiteAddress) + QLatin1String(MusicDirectoryPage));
}

void WebLinks::OpenMakerSite() const
{
    Open(QLatin1String(SiteAddress));
}

void WebLinks::Open(const QString& fileOrAddress) const
{
    if (m_openDocument)
        m_openDocument(fileOrAddress);
}

} // namespace quillet
