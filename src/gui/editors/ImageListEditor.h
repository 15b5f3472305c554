#pragma once

#include "AppletSizeRules.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QSize>
#include <QStringList>

#include <functional>

class QAction;
class QListWidget;
class QMenu;
class QUndoStack;

namespace vexa {

// The picture list's page controls.
namespace ImageListControls {
constexpr int List = 1090, Add = 1091, MoveUp = 1096, MoveDown = 1097, Remove = 1140, Link = 1092, Status = 1094;
constexpr int Flip = 1352, Width = 1019, Height = 1020, TileWidth = 1360, TileHeight = 1361, Resolution = 1010;
constexpr int ExtraHeight = 1354, BackColour = 1103;
} // namespace ImageListControls

class ControlPage;
class PictureThumbnail;
struct ImageListRules;

// The picture list of the slideshow, book flip, mosaic and cube pages: an ordered list of
// file names in the applet folder and, per file name, a link, a status message and a
// flip mode. Every way of changing the list (buttons, keys, the context menu, files
// dropped from a file manager) runs through one operation here, and each change can be
// undone. The page hands it the stored keys when it loads and takes them back when it
// stores.
class ImageListEditor : public QObject {
    Q_OBJECT

public:
    explicit ImageListEditor(ControlPage &page);
    ~ImageListEditor() override;

    // The editor of a page with an image list; nullptr on any other page.
    static ImageListEditor *of(const ControlPage &page);

    // Reads the stored list; from the default values it is one step that can be undone.
    void load(bool useDefaults);
    void store();

    // The operations.
    void addImages();                         // asks for files
    void addFiles(const QStringList &paths);  // the files picked or dropped
    void moveUp();
    void moveDown();
    void remove();
    QUndoStack *undoStack() const { return m_undo; }
    // Runs the user's changes of the size fields as steps of the list's history: a new
    // Resolution or extra height changes Width and Height, and undo takes back both.
    AppletSizeRules::ChangeRunner sizeChangeRunner();

    QStringList names() const { return m_names; }
    int currentRow() const;
    // The first entry without a picture (a cube face left empty), or -1.
    int firstEmptyEntry() const;
    // Selects an entry as a click on it does.
    void selectEntry(int row);
    QString link(const QString &name) const { return m_links.value(name); }
    QString flipMode(const QString &name) const { return m_flips.value(name); }
    PictureThumbnail *thumbnail() const { return m_thumbnail; }

    // The mosaic applet's size for a picture: the picture with whole tiles around it.
    static QSize mosaicFrame(int width, int height, unsigned tileWidth, unsigned tileHeight);

    // Everything a change of the list can change, for undo: the list with its links,
    // messages and flip modes, the selection, and the size fields (Width, Height,
    // Resolution, Extra height, tile sizes) with the factor and extra height they carry.
    struct State {
        QStringList names;
        QHash<QString, QString> links, status, flips;
        int row = -1;
        QMap<int, QString> fields;
        unsigned factor = 1;
        unsigned extraHeight = 0;
        // The applet folder's pictures a step replaced, name -> bytes: the step's states
        // carry the folder's file before and after, so undo brings the old picture back.
        QHash<QString, QByteArray> files;
    };
    State state() const;
    void restore(const State &state);

protected:
    // Files dropped from a file manager are added as "Add..." adds picked ones.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildView();
    void readStored();
    void mosaicSize();
    void connectControls();
    // Runs `change` as one undoable step named `what`, recorded when it changed anything.
    // The step starts from the state the editor last saw: a typed text or a chosen item
    // has already changed when its signal comes. Keystrokes in one `typedField` for one
    // entry fold into one step.
    void record(const QString &what, const std::function<void()> &change, int typedField = 0);
    void selectedByUser();
    void show(int selectRow);
    void selectionUpdate();
    void updateButtons();
    void commit(QHash<QString, QString> &table, int control);
    bool takeFiles(const QStringList &paths);
    int firstPicture() const;
    bool isCube() const;

    ControlPage &m_page;
    const ImageListRules &m_rules;
    QListWidget *m_list = nullptr;
    QMenu *m_menu = nullptr; // the list's context menu
    QObject *m_viewport = nullptr;
    PictureThumbnail *m_thumbnail = nullptr;
    QUndoStack *m_undo = nullptr;
    QHash<int, QAction *> m_actions;
    QStringList m_names;
    QHash<QString, QString> m_links, m_status, m_flips;
    bool m_showing = false; // the list is being refilled; its selection signals mean nothing
    State m_seen;           // the state after the last step, undo, redo, load or selection
    int m_typedField = 0;   // the field and entry whose keystrokes the newest step holds
    int m_typedRow = -1;
    int m_mergeId = -1;
    int m_runs = 0;
    QHash<QString, QByteArray> m_replaced; // name -> the folder's bytes the running step replaced
};

} // namespace vexa
