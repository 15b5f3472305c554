#include "ImageListEditor.h"

#include "AppletFolderCopy.h"
#include "AppletSizeRules.h"
#include "EditHistory.h"
#include "PictureThumbnail.h"
#include "Reporter.h"
#include "controls/ControlPage.h"
#include "io/FileCopy.h"
#include "publish/ImageSize.h"
#include "services/Services.h"
#include "strings/StringIds.h"
#include "strings/StringTable.h"

#include <QAction>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <QUndoStack>
#include <QUrl>

#include <climits>
#include <cmath>

namespace vexa {

// What differs between the pages with a picture list.
struct ImageListRules {
    int pageId;
    int maxImages;        // 0: no limit
    bool cubeFaces;       // 128x128 or 256x256 only
    bool links;           // link and status message per picture
    bool flips;           // flip mode per picture, and the extra height (book flip)
    bool keepsEmptyFaces; // the list always holds its six faces, empty ones included
    bool mosaic;          // the applet adds tile margins around the picture
};

using namespace ImageListControls;

namespace {

// The fields whose texts an undo step holds, where the page has them: the list's pictures
// set the size, and a Resolution or extra height changes it.
constexpr int SizeFields[] = {Width, Height, Resolution, ExtraHeight, TileWidth, TileHeight};

// clang-format off
const ImageListRules Rules[] = {
    // page  max  cube   links  flips  empty  mosaic
    {137,    0,   false, true,  false, false, false},  // cross fade
    {138,    0,   false, true,  true,  false, false},  // book flip
    {141,    6,   true,  true,  false, true,  false},  // cube menu
    {157,    6,   true,  false, false, false, false},  // textured cube
    {181,    0,   false, true,  false, false, true},   // mosaic
};
// clang-format on

const ImageListRules &rulesOf(int pageId)
{
    for (const ImageListRules &rules : Rules) {
        if (rules.pageId == pageId)
            return rules;
    }
    return Rules[0];
}

const QString NoPicture = QStringLiteral("(no picture)");

// A change of the selection alone is no step: it changes nothing the page stores.
bool sameContent(const ImageListEditor::State &a, const ImageListEditor::State &b)
{
    return a.names == b.names && a.links == b.links && a.status == b.status && a.flips == b.flips &&
           a.fields == b.fields && a.factor == b.factor && a.extraHeight == b.extraHeight;
}

unsigned number(const ControlPage &page, int id)
{
    return page.text(id).trimmed().toUInt();
}

// The local files among dropped addresses; none when anything else is among them.
QStringList droppedFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

// Names no wider than the list: a long one is shortened in the middle, keeping its start
// and its extension in sight, and its tooltip gives it whole.
class FittingNames : public QStyledItemDelegate {
public:
    explicit FittingNames(QListWidget *list) : QStyledItemDelegate(list), m_list(list) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(std::min(size.width(), m_list->viewport()->width()));
        return size;
    }

private:
    QListWidget *m_list;
};

} // namespace

ImageListEditor::ImageListEditor(ControlPage &page)
    : QObject(&page), m_page(page), m_rules(rulesOf(page.pageId())), m_list(page.control<QListWidget>(List)),
      m_undo(new QUndoStack(this))
{
    setObjectName(QStringLiteral("imageListEditor"));
    buildView();
    connectControls();
}

ImageListEditor::~ImageListEditor() = default;

ImageListEditor *ImageListEditor::of(const ControlPage &page)
{
    return page.findChild<ImageListEditor *>(QString(), Qt::FindDirectChildrenOnly);
}

// The list with the selected picture beside it; keyboard commands and a context menu on it.
void ImageListEditor::buildView()
{
    QWidget *box = m_list->parentWidget();
    auto *row = new QWidget(box);
    m_thumbnail = new PictureThumbnail(row);
    if (QLayout *layout = box->layout())
        delete layout->replaceWidget(m_list, row);
    auto *line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(m_list, 1);
    line->addWidget(m_thumbnail, 0);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setItemDelegate(new FittingNames(m_list));
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->setResizeMode(QListView::Adjust); // the names fit again when the list changes width
    m_list->setAcceptDrops(true);
    m_viewport = m_list->viewport();
    m_viewport->installEventFilter(this);
    // The context menu pops up and returns: it runs no event loop of its own, under which
    // a click on Next would destroy the page.
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_menu = new QMenu(m_list);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_menu->popup(m_list->viewport()->mapToGlobal(at)); });

    auto add = [this](int id, const QString &text, const QKeySequence &keys, void (ImageListEditor::*operation)()) {
        auto *action = new QAction(text, m_list);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, operation);
        m_list->addAction(action);
        m_actions.insert(id, action);
    };
    add(Add, QStringLiteral("&Add pictures..."), QKeySequence(Qt::Key_Insert), &ImageListEditor::addImages);
    add(MoveUp, QStringLiteral("Move &up"), QKeySequence(Qt::CTRL | Qt::Key_Up), &ImageListEditor::moveUp);
    add(MoveDown, QStringLiteral("Move do&wn"), QKeySequence(Qt::CTRL | Qt::Key_Down),
        &ImageListEditor::moveDown);
    add(Remove, QStringLiteral("&Remove"), QKeySequence(QKeySequence::Delete), &ImageListEditor::remove);
    auto *separator = new QAction(m_list);
    separator->setSeparator(true);
    m_list->addAction(separator);
    // Undo and redo also work from the other fields of the page, as the size fields' changes
    // are steps of the list's history too; an edit field keeps its own undo of typing.
    m_page.addActions(addHistoryActions(m_list, m_undo, Qt::WidgetWithChildrenShortcut));
    m_menu->addActions(m_list->actions());
}

void ImageListEditor::connectControls()
{
    m_page.onChange(Add, [this] { addImages(); });
    m_page.onChange(MoveUp, [this] { moveUp(); });
    m_page.onChange(MoveDown, [this] { moveDown(); });
    m_page.onChange(Remove, [this] { remove(); });
    // The selection, not the current row: a click makes the row current before selecting it.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_showing && !m_page.isClosing())
            selectedByUser();
    });
    // Each keystroke is kept, so Enter on Next never loses what was typed; and each is part of
    // the history, so undoing an earlier step never drops it.
    auto typed = [this](int id, const QString &what, const std::function<void()> &change) {
        if (auto *edit = m_page.control<QLineEdit>(id))
            connect(edit, &QLineEdit::textEdited, this,
                    [this, id, what, change] { record(what, change, id); });
    };
    typed(Link, QStringLiteral("Link"), [this] { commit(m_links, Link); });
    typed(Status, QStringLiteral("Status message"), [this] { commit(m_status, Status); });
    typed(Width, QStringLiteral("Width"), [] {});
    typed(Height, QStringLiteral("Height"), [] {});
    if (m_rules.flips)
        m_page.onChange(Flip,
                        [this] { record(QStringLiteral("Flip mode"), [this] { commit(m_flips, Flip); }); });
    if (m_rules.mosaic) {
        typed(TileWidth, QStringLiteral("Tile width"), [this] { mosaicSize(); });
        typed(TileHeight, QStringLiteral("Tile height"), [this] { mosaicSize(); });
    }
}

AppletSizeRules::ChangeRunner ImageListEditor::sizeChangeRunner()
{
    return [this](const QString &what, int field, const std::function<void()> &change) {
        // A Resolution is chosen at once; an extra height is typed key by key.
        record(what, change, field == Resolution ? 0 : field);
    };
}

bool ImageListEditor::eventFilter(QObject *watched, QEvent *event)
{
    // Compared by address: while the list is destroyed its viewport still sends events.
    if (watched != m_viewport || m_page.isClosing())
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (droppedFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList paths = droppedFiles(drop->mimeData());
        if (paths.isEmpty())
            return false;
        drop->acceptProposedAction();
        addFiles(paths);
        return true;
    }
    default:
        return false;
    }
}

bool ImageListEditor::isCube() const { return m_rules.cubeFaces; }

int ImageListEditor::firstEmptyEntry() const { return int(m_names.indexOf(QString())); }

// The entry whose size every added picture must have: the first that names a file.
int ImageListEditor::firstPicture() const
{
    for (int row = 0; row < m_names.size(); ++row) {
        if (!m_names[row].isEmpty())
            return row;
    }
    return -1;
}

void ImageListEditor::selectEntry(int row)
{
    m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    m_list->scrollToItem(m_list->item(row));
}

int ImageListEditor::currentRow() const
{
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    const int row = selected.isEmpty() ? -1 : m_list->row(selected.first());
    return row < m_names.size() ? row : -1;
}

void ImageListEditor::load(bool useDefaults)
{
    if (useDefaults) {
        // The default list and sizes replace the user's as one step that can be undone.
        record(QStringLiteral("Default values"), [this] { readStored(); });
        return;
    }
    readStored();
    m_undo->clear();
    m_seen = state();
    m_typedField = 0;
}

void ImageListEditor::readStored()
{
    m_names.clear();
    m_links.clear();
    m_status.clear();
    m_flips.clear();
    for (int n = 1; !isCube() || n <= m_rules.maxImages; ++n) {
        const QString number = QString::number(n);
        const QString image = m_page.read(QStringLiteral("Image_") + number);
        if (image.isEmpty() && !m_rules.keepsEmptyFaces)
            break;
        m_names << image;
        if (!m_rules.links || image.isEmpty())
            continue;
        // A later entry of the same name overwrites an earlier one.
        auto keep = [&](QHash<QString, QString> &table, const QString &key) {
            const QString value = m_page.read(key + number);
            if (!value.isEmpty())
                table.insert(image, value);
        };
        keep(m_links, QStringLiteral("Link_"));
        keep(m_status, QStringLiteral("StatusMsg_"));
        if (m_rules.flips)
            keep(m_flips, QStringLiteral("Flip_"));
    }
    show(-1);
}

void ImageListEditor::store()
{
    // The six faces are always written, so a removed face leaves nothing behind.
    const int count = isCube() ? m_rules.maxImages : int(m_names.size());
    for (int row = 0; row < count; ++row) {
        const QString number = QString::number(row + 1);
        const QString image = row < m_names.size() ? m_names[row] : QString();
        m_page.write(QStringLiteral("Image_") + number, image);
        if (!m_rules.links)
            continue;
        // The cube page clears what an earlier, longer list left behind as the others do.
        m_page.write(QStringLiteral("Link_") + number, m_links.value(image));
        m_page.write(QStringLiteral("StatusMsg_") + number, m_status.value(image));
        if (m_rules.flips)
            m_page.write(QStringLiteral("Flip_") + number, m_flips.value(image));
    }
    if (!isCube())
        m_page.write(QStringLiteral("Image_") + QString::number(count + 1), QString());
}

void ImageListEditor::show(int selectRow)
{
    m_showing = true;
    m_list->clear();
    for (const QString &name : m_names) {
        auto *item = new QListWidgetItem(name.isEmpty() ? NoPicture : name, m_list);
        item->setToolTip(name); // a long name is read whole without scrolling
        if (name.isEmpty()) {
            QFont font = item->font();
            font.setItalic(true);
            item->setFont(font);
            item->setForeground(m_list->palette().brush(QPalette::Disabled, QPalette::Text));
        }
    }
    if (selectRow >= 0 && selectRow < m_names.size())
        m_list->setCurrentRow(selectRow);
    else
        m_list->setCurrentRow(-1);
    m_showing = false;
    selectionUpdate();
    updateButtons();
}

void ImageListEditor::selectionUpdate()
{
    const int row = currentRow();
    const bool selected = row >= 0;
    const QString name = selected ? m_names[row] : QString();
    if (m_rules.links) {
        m_page.setText(Link, m_links.value(name));
        m_page.setText(Status, m_status.value(name));
        m_page.setEnabled(Link, selected);
        m_page.setEnabled(Status, selected);
    }
    if (m_rules.flips) {
        m_page.setEnabled(Flip, selected);
        if (selected) {
            // Every book-flip picture selected once carries a flip mode.
            if (m_flips.value(name).isEmpty()) {
                if (auto *combo = m_page.control<QComboBox>(Flip))
                    combo->setCurrentIndex(0);
                m_flips.insert(name, m_page.text(Flip));
            } else {
                m_page.selectComboItem(Flip, m_flips.value(name), nullptr);
            }
        }
    }
    m_thumbnail->showPicture(name.isEmpty() ? QString() : AppletFolderCopy::pathInAppletFolder(m_page, name));
}

// One place decides what can be done now, for the buttons and the keys alike.
void ImageListEditor::updateButtons()
{
    const int row = currentRow();
    const QHash<int, bool> enabled = {
        {Add, !isCube() || m_names.size() < m_rules.maxImages || firstEmptyEntry() >= 0},
        {MoveUp, row > 0},
        {MoveDown, row >= 0 && row + 1 < m_names.size()},
        {Remove, row >= 0},
    };
    for (auto it = enabled.constBegin(); it != enabled.constEnd(); ++it) {
        m_page.setEnabled(it.key(), it.value());
        m_actions.value(it.key())->setEnabled(it.value());
    }
}

void ImageListEditor::commit(QHash<QString, QString> &table, int control)
{
    const int row = currentRow();
    if (row >= 0)
        table.insert(m_names[row], m_page.text(control));
}

ImageListEditor::State ImageListEditor::state() const
{
    State now{m_names,
              m_links,
              m_status,
              m_flips,
              currentRow(),
              {},
              AppletSizeRules::resolutionFactor(m_page),
              AppletSizeRules::extraHeight(m_page),
              {}};
    for (int id : SizeFields) {
        if (m_page.control(id))
            now.fields.insert(id, m_page.text(id));
    }
    return now;
}

void ImageListEditor::restore(const State &state)
{
    m_names = state.names;
    m_links = state.links;
    m_status = state.status;
    m_flips = state.flips;
    for (auto it = state.files.constBegin(); it != state.files.constEnd(); ++it) {
        const QString path = AppletFolderCopy::pathInAppletFolder(m_page, it.key());
        const FileError error = FileCopy::write(path, it.value());
        if (!error.ok())
            m_page.context().services.showMessage(FileCopy::describe(error));
    }
    for (auto it = state.fields.constBegin(); it != state.fields.constEnd(); ++it)
        m_page.setText(it.key(), it.value());
    AppletSizeRules::setResolutionFactor(m_page, state.factor);
    AppletSizeRules::setExtraHeight(m_page, state.extraHeight);
    show(state.row);
    m_seen = this->state();
    m_typedField = 0;
}

void ImageListEditor::record(const QString &what, const std::function<void()> &change, int typedField)
{
    State before = m_seen;
    m_replaced.clear();
    change();
    State after = state();
    m_seen = after;
    for (auto it = m_replaced.constBegin(); it != m_replaced.constEnd(); ++it) {
        QFile now(AppletFolderCopy::pathInAppletFolder(m_page, it.key()));
        if (!now.open(QIODevice::ReadOnly))
            continue;
        before.files.insert(it.key(), it.value());
        after.files.insert(it.key(), now.readAll());
    }
    m_replaced.clear();
    if (sameContent(before, after))
        return;
    const bool typing = typedField != 0 && typedField == m_typedField && after.row == m_typedRow &&
                        m_undo->index() == m_undo->count();
    if (!typing)
        m_mergeId = typedField != 0 ? m_runs++ : -1;
    m_typedField = typedField;
    m_typedRow = after.row;
    m_undo->push(new EditStep<ImageListEditor>(*this, what, std::move(before), std::move(after), m_mergeId));
}

// A click or a key selects another entry: its link and message show, and the next typing
// starts a step of its own.
void ImageListEditor::selectedByUser()
{
    selectionUpdate();
    updateButtons();
    m_seen = state();
    m_typedField = 0;
}

void ImageListEditor::addImages()
{
    const QStringList paths = m_page.context().services.openFiles(StringTable::text(Str::ImageFilter));
    if (!paths.isEmpty())
        addFiles(paths);
}

void ImageListEditor::addFiles(const QStringList &paths)
{
    record(QStringLiteral("Add pictures"), [&] { takeFiles(paths); });
}

// Takes the picked files in order, as long as each passes; what was taken before a
// refusal stays in the list (but for a file that is no picture in a multiple selection). Every file is checked, and each name that the applet folder
// already holds with other content is confirmed, before anything is copied, so a No
// leaves the folder and the list as they were. True when the list got its new pictures
// and sizes.
bool ImageListEditor::takeFiles(const QStringList &paths)
{
    Services &services = m_page.context().services;
    // A refusal before anything was taken leaves the list and its selection alone.
    auto warn = [&](int id) {
        services.showMessage(message(id, MessageIcon::Exclamation));
        return false;
    };
    // A single file on a full cube fills its empty face; with none it would be a seventh
    // face, and the Add button is off then.
    const int emptyFace = isCube() && paths.size() == 1 ? firstEmptyEntry() : -1;
    if (isCube() && paths.size() == 1 && m_names.size() >= m_rules.maxImages && emptyFace < 0)
        return warn(Str::MaxSixImages);

    // Every picture must have the size of the list's first one (an empty cube face has none).
    const int first = firstPicture();
    ImageInfo reference;
    if (first >= 0) {
        // Read quietly: the reader's own message would say neither which file nor what to do.
        SilentReporter quiet;
        QStringList notes;
        const QString path = AppletFolderCopy::pathInAppletFolder(m_page, m_names[first]);
        reference = ImageSize::read(path, quiet, &notes);
        if (!reference.found) {
            Message unreadable = message(Str::FirstPictureUnreadable, MessageIcon::Exclamation);
            unreadable.text = unreadable.text.arg(m_names[first]);
            services.showMessage(unreadable);
            selectEntry(first);
            return false;
        }
    }

    struct Pick {
        QString path;
        bool copy;
        bool replaces; // the folder holds other bytes under the name
    };
    QList<Pick> accepted;
    QHash<QString, QString> holders; // name -> the file the folder will hold under it
    ImageInfo last;
    int refusal = 0;
    for (const QString &path : paths) {
        RecordingReporter said;
        const ImageInfo info = ImageSize::read(path, said);
        if (!info.found) {
            // The reader's reason, naming the file. A multiple selection would replace the
            // list with part of itself: the list stays as it was.
            for (Message reason : std::as_const(said.messages)) {
                reason.text = QStringLiteral("\"%1\": %2").arg(AppletFolderCopy::bareName(path), reason.text);
                services.showMessage(reason);
            }
            if (paths.size() > 1)
                return false;
            break;
        }
        const bool cubeSize = (info.width == 128 && info.height == 128) || (info.width == 256 && info.height == 256);
        if (isCube() && !cubeSize) {
            refusal = Str::CubeImageSize;
            break;
        }
        if (accepted.isEmpty() && first < 0)
            reference = info;
        else if (info.width != reference.width || info.height != reference.height) {
            refusal = Str::ImageSizesDiffer;
            break;
        }
        if (isCube() && accepted.size() == m_rules.maxImages) {
            refusal = Str::MaxSixImages;
            break;
        }
        const QString name = AppletFolderCopy::bareName(path);
        const QString holder = holders.value(name, AppletFolderCopy::pathInAppletFolder(m_page, name));
        const AppletFolderCopy::Existing existing = AppletFolderCopy::compare(path, holder);
        if (existing == AppletFolderCopy::Existing::Different) {
            // Replacing it changes every entry of that name (undo brings the old picture back).
            Message question = message(Str::PictureNameTaken, MessageIcon::Question);
            question.text = question.text.arg(name);
            if (!services.ask(question))
                return false;
        }
        holders.insert(name, path);
        accepted.append({path, existing != AppletFolderCopy::Existing::Same,
                         existing == AppletFolderCopy::Existing::Different});
        last = info;
    }

    int taken = 0;
    for (const Pick &pick : accepted) {
        // The folder's own picture stays with the step until it can no longer be undone.
        const QString replaced = AppletFolderCopy::pathInAppletFolder(m_page, AppletFolderCopy::bareName(pick.path));
        if (QFile old(replaced); pick.replaces && !m_replaced.contains(AppletFolderCopy::bareName(pick.path)) &&
                                 old.open(QIODevice::ReadOnly))
            m_replaced.insert(AppletFolderCopy::bareName(pick.path), old.readAll());
        if (pick.copy && !AppletFolderCopy::intoAppletFolder(m_page, pick.path)) {
            refusal = -1; // the copy has said why
            break;
        }
        if (taken == 0 && paths.size() > 1)
            m_names.clear(); // a multiple selection replaces the list
        const QString name = AppletFolderCopy::bareName(pick.path);
        if (emptyFace >= 0)
            m_names[emptyFace] = name;
        else
            m_names << name;
        // Every book-flip picture carries a flip mode from the start, selected or not.
        if (auto *flip = m_rules.flips ? m_page.control<QComboBox>(Flip) : nullptr; flip && m_flips.value(name).isEmpty())
            m_flips.insert(name, flip->itemText(0));
        ++taken;
    }
    if (refusal != 0) {
        if (refusal > 0)
            warn(refusal);
        if (taken > 0)
            show(int(m_names.size()) - 1);
        return false;
    }
    if (taken == 0)
        return false; // nothing known to size the applet by: it keeps its size
    if (!isCube()) {
        const unsigned extra = m_rules.flips ? AppletSizeRules::extraHeight(m_page) : 0;
        m_page.setText(Height, QString::number(qint64(last.height) + extra));
        m_page.setText(Width, QString::number(last.width));
        AppletSizeRules::setResolutionFactor(m_page, 1);
    }
    if (m_rules.mosaic)
        mosaicSize();
    show(emptyFace >= 0 ? emptyFace : int(m_names.size()) - 1);
    AppletSizeRules::rescale(m_page);
    return true;
}

void ImageListEditor::moveUp()
{
    record(QStringLiteral("Move up"), [this] {
        const int row = currentRow();
        if (row <= 0)
            return;
        m_names.move(row, row - 1);
        show(row - 1);
    });
}

void ImageListEditor::moveDown()
{
    record(QStringLiteral("Move down"), [this] {
        const int row = currentRow();
        if (row < 0 || row + 1 >= m_names.size())
            return;
        m_names.move(row, row + 1);
        show(row + 1);
    });
}

void ImageListEditor::remove()
{
    record(QStringLiteral("Remove"), [this] {
        const int row = currentRow();
        if (row < 0)
            return;
        m_names.removeAt(row);
        if (m_names.isEmpty()) {
            m_links.clear();
            m_status.clear();
            m_flips.clear();
        }
        show(m_names.isEmpty() ? -1 : std::min(row, int(m_names.size()) - 1));
    });
}

// The mosaic applet frames its picture with whole tiles: the applet is the picture plus
// a margin on each side.
void ImageListEditor::mosaicSize()
{
    if (m_names.isEmpty() || m_names.first().isEmpty())
        return;
    // Quietly: this runs on every keystroke in a tile field, and Add names an unreadable
    // first picture itself.
    SilentReporter quiet;
    QStringList notes;
    const ImageInfo picture =
        ImageSize::read(AppletFolderCopy::pathInAppletFolder(m_page, m_names.first()), quiet, &notes);
    if (!picture.found)
        return;
    const QSize size = mosaicFrame(picture.width, picture.height, number(m_page, TileWidth), number(m_page, TileHeight));
    // The frame is the size at resolution 1: the resolution shown scales it.
    AppletSizeRules::setPictureSize(m_page, size.width(), size.height());
    AppletSizeRules::rescale(m_page);
}

QSize ImageListEditor::mosaicFrame(int width, int height, unsigned tileWidth, unsigned tileHeight)
{
    const double w = width, h = height;
    const double tw = tileWidth == 0 ? 1.0 : double(tileWidth);
    const double th = tileHeight == 0 ? 1.0 : double(tileHeight);
    // A tile side beyond the picture makes the divisor 0 or less: no margin then.
    auto margin = [](double x) -> qint64 {
        if (!std::isfinite(x) || std::ceil(x) >= 0)
            return 0;
        return 1 - qint64(std::max(std::ceil(x), -1e9));
    };
    // The height is divided by the tile width and the width by the tile height: the applet
    // computes its margins that way round.
    const qint64 horizontal = margin(w / 2 - 256 * w / (512 - h / tw));
    const qint64 vertical = margin(h / 2 - 256 * h / (512 - w / th));
    return QSize(int(qBound(qint64(0), width + 2 * horizontal, qint64(INT_MAX))),
                 int(qBound(qint64(0), height + 2 * vertical, qint64(INT_MAX))));
}

} // namespace vexa
