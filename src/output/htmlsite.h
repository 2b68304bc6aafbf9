// The tournament as a small static website, without widgets: a frameset with a
// title strip, a navigation column and a content frame, and the pages for the
// tournament data, the class index, one page per class, the match-plan index,
// one match page per class, the players with the teams and the referees.
//
// Each page is a list of lines; htmlPageBytes() makes the file of it:
// Windows-1252 with CR LF after every line, a character the code page lacks as
// a numeric reference ("&#322;"). Every text from the database is escaped, every
// file name in an href percent-encoded, and each head declares the charset.
//
// Class and match pages are named after the class and its kind digit
// ("Herren A0.html", "sp_Herren A0.html"); characters other than letters, digits,
// blank, "-", "_" and "." become "_", a leading dot too, and a name another page
// of the site already has (letter case aside) gets "_" and the class key.
#pragma once

#include "data/siterecords.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace bw {

// &, <, > and " as entities.
QString htmlEscaped(const QString& text);
// A file name as the target of a link: percent-encoded UTF-8.
QString hrefTarget(const QString& fileName);
// The part of a file name made of a class name and its kind digit, made safe.
QString safeFileStem(const QString& name);
// The bytes of a page's file.
QByteArray htmlPageBytes(const QStringList& lines);

struct HtmlPage {
    QString fileName; // without folder
    QStringList lines;
};

class HtmlSite {
public:
    // The pages every site has, by file name.
    static const QStringList kFixedPages;

    // `framesetName` is the frameset's file name (the chosen name with ".html").
    // Throws AppError when it is the name of one of the fixed pages.
    HtmlSite(SiteData data, QString turniername, QString framesetName);

    QStringList frameset() const;
    static QStringList titel();
    static QStringList navigation();
    QStringList turnierdaten() const;
    QStringList klassenindex() const;
    QStringList spielplanindex() const;
    QStringList klassenseite(const SiteClass& klasse) const;
    QStringList spielerdaten() const;
    QStringList schiri() const;
    QStringList spielplanseite(const SiteClass& klasse) const;

    const QList<SiteClass>& classes() const { return m_data.classes; }
    QString classPageName(int kid) const { return m_classPage.value(kid); }
    QString matchPageName(int kid) const { return m_matchPage.value(kid); }

    // Every page in the order they are written: frameset, navigation, title,
    // tournament data, class pages, class index, match-plan index, players,
    // referees, match pages. `built` is called after each page.
    QList<HtmlPage> pages(const std::function<void()>& built = {}) const;
    int pageCount() const { return 8 + 2 * int(m_data.classes.size()); }

private:
    QStringList classIndex(const char* bgcolor, bool matchPages) const;

    SiteData m_data;
    QString m_turniername;
    QString m_frameset;
    QHash<int, QString> m_classPage;
    QHash<int, QString> m_matchPage;
    QHash<int, QList<qsizetype>> m_entriesOf; // class key -> indexes into m_data.entries
    QHash<int, QList<qsizetype>> m_matchesOf; // class key -> indexes into m_data.matches
};

// The pages whose files exist in the folder.
QStringList existingPages(const QList<HtmlPage>& pages, const QString& folder);

// Writes the pages' files into the folder, replacing files of the same names:
// every file first under a hidden temporary name, and only when all are written
// each takes its name, so a failure while writing leaves the folder as it was.
// `written` is called after each file. Throws AppError with the file and reason.
void writeHtmlPages(const QList<HtmlPage>& pages, const QString& folder, const std::function<void()>& written = {});

} // namespace bw
