#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vexa {

// Which credit line the applet's tag carries.
enum class Credit { A, B, C };

// The fixed facts of one applet.
struct AppletRecord {
    const char *id;          // section name and list text, upper case
    int category;            // 1..6, the value stored under LastCateg
    const char *folder;      // sub-folder of the applets folder
    const char *classFile;   // the tag's code attribute
    const char *archive;     // the tag's archive attribute
    const char *samplePage;  // demonstration page in the applet folder
    const char *helpPage;    // page in the help folder
    const char *scrollText;  // scroll-text file in the applet folder, or ""
    int description;         // string-table id
    Credit credit;
};

struct CategoryRecord {
    int number;       // 1..6
    int radioId;      // control id of its radio button
    const char *caption;
    QStringList applets; // in the order the selection page adds them
};

// The constant catalogue of the 40 applets. Lookups compare applet ids exactly.
class Catalogue {
public:
    // All records in the order the tag generator tests them (BLOBS first).
    static const std::vector<AppletRecord> &applets();
    static const std::vector<CategoryRecord> &categories();

    static const AppletRecord *find(const QString &appletId);
    static bool contains(const QString &appletId) { return find(appletId) != nullptr; }

    // Lookups with the fallbacks for an id outside the table.
    static QString folderName(const QString &appletId);  // the id itself when unknown
    static QString samplePage(const QString &appletId);  // the id itself when unknown
    static QString scrollTextFile(const QString &appletId); // "" when none
    // Whether the applet shows the common scroll text, from its file and its page: every applet
    // with a scroll-text file but SOLIDSCROLLER, whose file is its own text, written into its tag.
    static bool hasCommonScrollText(const QString &appletId);
    static QString archive(const QString &appletId);     // "" when unknown
    static QString classFile(const QString &appletId);
    static QString helpPage(const QString &appletId);
    static int description(const QString &appletId);     // 0 when unknown
    static int category(const QString &appletId);        // 0 when unknown
    static int categoryRadioId(int category);            // 0 when unknown
    static QStringList appletList(int category);          // empty when unknown
};

} // namespace vexa
