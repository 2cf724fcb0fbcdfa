// The help page and the maker's web pages, each handed to the desktop's default action
// (a browser, a help viewer). What that action does with them is not looked at. UI thread.
#pragma once

#include <QString>

#include <functional>

namespace quillet {

class WebLinks {
public:
    static constexpr char SiteAddress[] = "https://www.quillet.example/";
    static constexpr char MusicDirectoryPage[] = "musicdirectory.htm";
    static constexpr char HelpPage[] = "help.htm";
    // The menu caption naming the site, with its accelerator.
    static constexpr char SiteCaption[] = "&Quillet on the Web";

    // Opens a file path or a web address; its result is ignored.
    using OpenDocumentFunction = std::function<void(const QString& fileOrAddress)>;

    // programDir: the program directory (normally ending in "/").
    WebLinks(QString programDir, OpenDocumentFunction openDocument);

    // The help page beside the program.
    void readme_Click() const;
    // The maker's music-directory page.
    void download_Click() const;
    // The maker's site, from the menu item, the About box and the download button.
    void quillet_Click() const { OpenMakerSite(); }
    void OpenMakerSite() const;

    [[nodiscard]] QString HelpPath() const;

private:
    void Open(const QString& fileOrAddress) const;

    QString m_programDir;
    OpenDocumentFunction m_openDocument;
};

} // namespace quillet
