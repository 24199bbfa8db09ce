#include "app/platform/qt/QtDialogs.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A width of `count` average characters of the widget's font: it follows the font and the
// screen's scale.
int Chars(const QWidget& widget, int count) {
    return widget.fontMetrics().averageCharWidth() * count;
}

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A cell that holds a number alone ("4.5", "-12", "48 %") or a dash for none: right-aligned,
// so that the digits line up.
bool IsNumberCell(const QString& text) {
    static const QRegularExpression number(
        R"(^\s*([-+\x{2212}]?(\d+([.,]\d*)?|[.,]\d+)\s*%?|\x{2014}|-)\s*$)");
    return number.match(text).hasMatch();
}

// Lines with tabs as the rows of an aligned table, the first row its heading. Numbers are
// right-aligned, and so is the heading of a column of numbers.
QString TableHtml(const QStringList& lines) {
    std::vector<QStringList> rows;
    for (const QString& line : lines) {
        rows.push_back(line.split('\t'));
    }
    const auto isNumberColumn = [&rows](qsizetype column) {
        return rows.size() > 1 && std::all_of(rows.begin() + 1, rows.end(), [&](const auto& row) {
                   return column >= row.size() || IsNumberCell(row[column]);
               });
    };
    QString html = R"(<table cellspacing="0" cellpadding="2">)";
    for (size_t row = 0; row < rows.size(); ++row) {
        html += "<tr>";
        for (qsizetype column = 0; column < rows[row].size(); ++column) {
            const QString& cell = rows[row][column];
            const QString tag = row == 0 ? "th" : "td";
            const bool right = row == 0 ? isNumberColumn(column) : IsNumberCell(cell);
            const QString gap = column == 0 ? "" : R"( style="padding-left: 12px")";
            html += "<" + tag + " align=\"" + (right ? "right" : "left") + "\"" + gap + ">" +
                    cell.toHtmlEscaped() + "</" + tag + ">";
        }
        html += "</tr>";
    }
    return html + "</table>";
}

// A text as rich text: runs of lines with tabs become aligned tables, the other lines
// paragraphs (a blank line starts a new one).
QString TextHtml(const std::string& text) {
    QString html;
    QStringList paragraph;
    QStringList table;
    const auto endParagraph = [&] {
        if (!paragraph.isEmpty()) {
            html += "<p>" + paragraph.join("<br>") + "</p>";
            paragraph.clear();
        }
    };
    const auto endTable = [&] {
        if (!table.isEmpty()) {
            html += TableHtml(table);
            table.clear();
        }
    };
    for (const QString& line : Q(text).split('\n')) {
        if (line.contains('\t')) {
            endParagraph();
            table << line;
            continue;
        }
        endTable();
        if (line.trimmed().isEmpty()) {
            endParagraph();
        } else {
            paragraph << line.toHtmlEscaped();
        }
    }
    endParagraph();
    endTable();
    return html;
}

// A word-wrapped block of text that can be selected and copied; `dim` for notes.
QLabel* MakeTextBlock(const std::string& text, bool dim, QWidget* parent) {
    auto* label = new QLabel(TextHtml(text), parent);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(Chars(*label, 68));
    if (dim) {
        QPalette palette = label->palette();
        const QColor text = palette.color(QPalette::WindowText);
        const QColor back = palette.color(QPalette::Window);
        palette.setColor(QPalette::WindowText, QColor((text.red() * 3 + back.red() * 2) / 5,
                                                      (text.green() * 3 + back.green() * 2) / 5,
                                                      (text.blue() * 3 + back.blue() * 2) / 5));
        label->setPalette(palette);
    }
    return label;
}

QString LabelText(const std::string& label) {
    QString text = Q(label);
    return text.endsWith(':') ? text : text + ':';
}

QWidget* MakeFieldEdit(const FormField& field, QWidget* parent) {
    if (field.multiline) {
        auto* edit = new QPlainTextEdit(Q(field.text), parent);
        edit->setTabChangesFocus(true); // Tab goes on to the next field, as in a line
        constexpr int kLines = 4;
        edit->setFixedHeight(edit->fontMetrics().lineSpacing() * kLines +
                             2 * (edit->frameWidth() + 4));
        return edit;
    }
    auto* edit = new QLineEdit(Q(field.text), parent);
    edit->setMinimumWidth(Chars(*edit, 14));
    return edit;
}

std::string TextOf(const QWidget* edit) {
    if (const auto* line = qobject_cast<const QLineEdit*>(edit)) {
        return line->text().toStdString();
    }
    return qobject_cast<const QPlainTextEdit*>(edit)->toPlainText().toStdString();
}
} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxContent& content, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(ToQtIcon(content.icon), Q(content.title),
                                             Q(content.text), QMessageBox::Ok, parent);
    // Messages quote names and paths as they are: "<b>" in a file name is not bold.
    box->setTextFormat(Qt::PlainText);
    // Paths and addresses in the text can be selected and copied.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return box;
}

CChoiceBox::CChoiceBox(const ChoiceRequest& request, QWidget* parent)
    : QMessageBox(QMessageBox::Question, Q(request.title), Q(request.text), QMessageBox::NoButton,
                  parent) {
    setTextFormat(Qt::PlainText); // as a message: names and paths as they are
    // One role for every button keeps them in the caller's order on every desktop's layout.
    for (const std::string& label : request.buttons) {
        buttons_.push_back(addButton(Q(label), QMessageBox::ActionRole));
    }
    if (!buttons_.empty()) {
        setDefaultButton(qobject_cast<QPushButton*>(buttons_.front()));
    }
}

std::optional<int> CChoiceBox::Chosen() const {
    const auto it = std::find(buttons_.begin(), buttons_.end(), clickedButton());
    if (it == buttons_.end()) {
        return std::nullopt;
    }
    return static_cast<int>(it - buttons_.begin());
}

// QMessageBox gives Escape and the close button to a button it picks; here they choose none.
void CChoiceBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel)) {
        reject();
        return;
    }
    QMessageBox::keyPressEvent(event);
}

void CChoiceBox::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event); // rejects
}

std::unique_ptr<QInputDialog> MakeTextDialog(const TextRequest& request, QWidget* parent) {
    auto dialog = std::make_unique<QInputDialog>(parent);
    dialog->setWindowTitle(Q(request.title));
    dialog->setLabelText(Q(request.prompt));
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setTextValue(Q(request.text));
    if (auto* edit = dialog->findChild<QLineEdit*>()) {
        edit->setMinimumWidth(Chars(*edit, 40));
        edit->selectAll();
    }
    return dialog;
}

namespace {
// Keeps the dialog at least at its size hint: wrapped text needs more height when it is narrower,
// which the layout's minimum size does not know.
void KeepHintAsMinimum(QDialog& dialog) {
    dialog.ensurePolished();
    dialog.setMinimumSize(dialog.sizeHint());
}
} // namespace

CFormDialog::CFormDialog(const FormRequest& form, QWidget* parent) : QDialog(parent), form_(form) {
    setWindowTitle(Q(form.title));
    auto* layout = new QVBoxLayout(this);
    if (!form.intro.empty()) {
        layout->addWidget(MakeTextBlock(form.intro, false, this));
    }
    AddFields(form.fields, *layout);
    ShowStartInUse();
    if (form.preview) {
        preview_ = new QLabel(this);
        preview_->setObjectName("preview");
        preview_->setTextFormat(Qt::PlainText);
        preview_->setWordWrap(true);
        preview_->setMinimumHeight(preview_->fontMetrics().lineSpacing()); // even while empty
        layout->addWidget(preview_);
    }
    if (!form.note.empty()) {
        layout->addWidget(MakeTextBlock(form.note, true, this));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    UpdatePreview();
    KeepHintAsMinimum(*this);
    if (!edits_.empty()) {
        edits_.front()->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(edits_.front())) {
            line->selectAll();
        }
    }
}

void CFormDialog::AddStarts(QFormLayout& form) {
    starts_ = new QComboBox(this);
    starts_->setObjectName("starts");
    for (const FormStart& start : form_.starts) {
        starts_->addItem(Q(start.name));
    }
    starts_->setPlaceholderText("Choose to fill in the fields");
    starts_->setCurrentIndex(-1); // nothing chosen: the fields keep what they hold
    auto* label = new QLabel(LabelText(form_.startsLabel), this);
    label->setBuddy(starts_);
    form.addRow(label, starts_);
    connect(starts_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0) {
            FillFrom(form_.starts[static_cast<size_t>(index)]);
        }
    });
}

// The list names the start the fields already hold (the shipped medium oil), if any.
void CFormDialog::ShowStartInUse() {
    const std::vector<std::string> texts = Texts();
    for (size_t i = 0; starts_ && i < form_.starts.size(); ++i) {
        const std::vector<std::string>& start = form_.starts[i].texts;
        if (start.size() <= texts.size() && std::equal(start.begin(), start.end(), texts.begin())) {
            starts_->setCurrentIndex(static_cast<int>(i));
            return;
        }
    }
}

void CFormDialog::FillFrom(const FormStart& start) {
    for (size_t i = 0; i < start.texts.size() && i < edits_.size(); ++i) {
        if (auto* line = qobject_cast<QLineEdit*>(edits_[i])) {
            line->setText(Q(start.texts[i])); // the preview follows
        }
    }
}

void CFormDialog::AddFields(const std::vector<FormField>& fields, QVBoxLayout& layout) {
    auto* form = new QFormLayout;
    if (!form_.starts.empty()) {
        AddStarts(*form);
    }
    std::vector<QLabel*> units;
    for (const FormField& field : fields) {
        QWidget* edit = MakeFieldEdit(field, this);
        edit->setObjectName(QString("field-%1").arg(edits_.size() + 1));
        auto* label = new QLabel(LabelText(field.label), this);
        label->setBuddy(edit);
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        if (!field.unit.empty()) {
            units.push_back(new QLabel(Q(field.unit), this));
            row->addWidget(units.back());
        }
        form->addRow(label, row);
        if (auto* line = qobject_cast<QLineEdit*>(edit)) {
            connect(line, &QLineEdit::textChanged, this, [this] { UpdatePreview(); });
            connect(line, &QLineEdit::textEdited, this, [this] {
                if (starts_) {
                    starts_->setCurrentIndex(-1); // typed over: no longer the fluid chosen
                }
            });
        } else {
            connect(qobject_cast<QPlainTextEdit*>(edit), &QPlainTextEdit::textChanged, this,
                    [this] { UpdatePreview(); });
        }
        edits_.push_back(edit);
    }
    // The units as wide as the widest, so that the boxes beside them end in one line.
    int widest = 0;
    for (const QLabel* unit : units) {
        widest = std::max(widest, unit->sizeHint().width());
    }
    for (QLabel* unit : units) {
        unit->setMinimumWidth(widest);
    }
    layout.addLayout(form);
}

std::vector<std::string> CFormDialog::Texts() const {
    std::vector<std::string> texts;
    for (const QWidget* edit : edits_) {
        texts.push_back(TextOf(edit));
    }
    return texts;
}

void CFormDialog::UpdatePreview() {
    bool acceptable = true;
    if (form_.preview) {
        preview_->setText(Q(form_.preview(Texts(), acceptable)));
    }
    ok_->setEnabled(acceptable);
}

namespace {
// A column whose filled cells are all numbers.
bool IsNumberColumn(const std::vector<std::vector<std::string>>& rows, size_t column) {
    bool any = false;
    for (const auto& row : rows) {
        if (column < row.size() && !row[column].empty()) {
            if (!IsNumberCell(Q(row[column]))) {
                return false;
            }
            any = true;
        }
    }
    return any;
}

// A row whose last cell follows empty ones (a reason where a table has no figures) shows that
// cell across them, from the first empty one: where the row's cells end otherwise.
size_t SpanStart(const std::vector<std::string>& row) {
    if (row.empty() || row.back().empty()) {
        return row.size();
    }
    size_t start = row.size();
    while (start >= 2 && row[start - 2].empty()) {
        --start;
    }
    return start < row.size() ? start - 1 : row.size();
}

size_t ColumnCount(const TableRequest& table) {
    size_t count = table.headers.size();
    for (const auto* rows : {&table.rows, &table.apart}) {
        for (const auto& row : *rows) {
            count = std::max(count, row.size());
        }
    }
    return count;
}

// Rows that can be picked (whole rows, one at a time) or, with `pickable` false, rows shown
// greyed that cannot be selected.
QTableWidget* MakeTable(const TableRequest& request,
                        const std::vector<std::vector<std::string>>& rows, bool pickable,
                        QWidget* parent) {
    const size_t columns = ColumnCount(request);
    auto* table =
        new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(columns), parent);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setHighlightSections(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(pickable ? QAbstractItemView::SingleSelection
                                     : QAbstractItemView::NoSelection);
    table->setTabKeyNavigation(false); // Tab goes on to the buttons
    table->setWordWrap(false);
    // Rows one line high with a little room, after the font rather than the style's default.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().lineSpacing() + 8);
    if (!pickable) {
        table->setFocusPolicy(Qt::NoFocus);
    }
    for (size_t column = 0; column < columns; ++column) {
        const Qt::Alignment align =
            (IsNumberColumn(rows, column) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        auto* header = new QTableWidgetItem(
            column < request.headers.size() ? Q(request.headers[column]) : QString());
        header->setTextAlignment(align);
        table->setHorizontalHeaderItem(static_cast<int>(column), header);
    }
    const auto makeItem = [pickable](const std::string& text) {
        auto* item = new QTableWidgetItem(Q(text));
        item->setTextAlignment((IsNumberCell(item->text()) ? Qt::AlignRight : Qt::AlignLeft) |
                               Qt::AlignVCenter);
        if (!pickable) {
            item->setFlags(Qt::ItemNeverHasChildren); // neither enabled nor selectable
        }
        return item;
    };
    for (size_t row = 0; row < rows.size(); ++row) {
        for (size_t column = 0; column < SpanStart(rows[row]); ++column) {
            table->setItem(static_cast<int>(row), static_cast<int>(column),
                           makeItem(rows[row][column]));
        }
    }
    table->ensurePolished();
    table->resizeColumnsToContents();
    // A little room between columns, so that a number does not run into the next name.
    for (int column = 0; column < table->columnCount(); ++column) {
        table->setColumnWidth(column, table->columnWidth(column) + Chars(*table, 2));
    }
    // The spanning cells come after the columns are sized, so that none widens its first one.
    for (size_t row = 0; row < rows.size(); ++row) {
        const size_t start = SpanStart(rows[row]);
        if (start < rows[row].size()) {
            QTableWidgetItem* item = makeItem(rows[row].back());
            item->setToolTip(item->text()); // whole, should the cell cut it
            table->setItem(static_cast<int>(row), static_cast<int>(start), item);
            table->setSpan(static_cast<int>(row), static_cast<int>(start), 1,
                           static_cast<int>(columns - start));
        }
    }
    return table;
}

// The width the cells of `row` need, a spanning one whole.
int RowWidth(const QTableWidget& table, int row) {
    int width = 0;
    for (int column = 0; column < table.columnCount(); ++column) {
        const int span = table.columnSpan(row, column);
        if (span > 1 && table.item(row, column)) {
            const int text = table.fontMetrics().horizontalAdvance(table.item(row, column)->text());
            return width + text + Chars(table, 2);
        }
        width += table.columnWidth(column);
    }
    return width;
}

int ScrollBarWidth(const QTableWidget& table) {
    return table.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &table);
}

int ColumnsWidth(const QTableWidget& table) {
    int columns = 0;
    for (int column = 0; column < table.columnCount(); ++column) {
        columns += table.columnWidth(column);
    }
    return columns;
}

// How wide a table may grow: most of the screen, or the width of the window it belongs to.
int WidestTable(const QTableWidget& table) {
    const QScreen* screen = table.screen();
    int widest = screen ? screen->availableGeometry().width() * 9 / 10 : Chars(table, 120);
    if (const QWidget* owner = table.window()->parentWidget()) {
        widest = std::max(widest, owner->window()->width());
    }
    return widest;
}

// A heading of two words or more on two lines, broken at its last blank; one word as it is.
QString TwoLineHeading(QString heading) {
    if (const qsizetype space = heading.lastIndexOf(' '); space > 0) {
        heading[space] = '\n';
    }
    return heading;
}

// The width a column's texts need: its cells' in both tables (a spanning cell aside) and its
// heading's on two lines; with the room the columns were sized with.
int TextsWidth(QTableWidget& rows, QTableWidget* apart, int column) {
    const QFontMetrics metrics = rows.fontMetrics();
    int width = 0;
    for (QTableWidget* table : {&rows, apart}) {
        for (int row = 0; table && row < table->rowCount(); ++row) {
            if (const QTableWidgetItem* item = table->item(row, column);
                item && table->columnSpan(row, column) == 1) {
                width = std::max(width, metrics.horizontalAdvance(item->text()));
            }
        }
    }
    for (const QString& line :
         TwoLineHeading(rows.horizontalHeaderItem(column)->text()).split('\n')) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    return width + Chars(rows, 2) + 12;
}

// A table's last columns (the verdict) matter as much as its first. Where the columns are wider
// than the table may grow (a laptop at 150 %), the headings of two words or more go on two
// lines wherever that narrows their column, and if that is not enough the first column (the
// names) gives up the rest, down to 16 characters, its texts cut with an ellipsis and whole in
// their tooltips.
void NarrowColumns(QTableWidget& rows, QTableWidget* apart) {
    const int room = WidestTable(rows) - 2 * rows.frameWidth() - 2 - ScrollBarWidth(rows);
    if (ColumnsWidth(rows) <= room || rows.columnCount() < 2) {
        return;
    }
    for (int column = 1; column < rows.columnCount(); ++column) {
        const QString heading = TwoLineHeading(rows.horizontalHeaderItem(column)->text());
        const int narrower = TextsWidth(rows, apart, column);
        if (heading.contains('\n') && narrower < rows.columnWidth(column)) {
            for (QTableWidget* table : {&rows, apart}) {
                if (table) {
                    table->horizontalHeaderItem(column)->setText(heading);
                    table->setColumnWidth(column, narrower);
                }
            }
        }
    }
    const int excess = ColumnsWidth(rows) - room;
    if (excess <= 0) {
        return;
    }
    const int width = std::max(Chars(rows, 16), rows.columnWidth(0) - excess);
    for (QTableWidget* table : {&rows, apart}) {
        for (int row = 0; table && row < table->rowCount(); ++row) {
            if (QTableWidgetItem* item = table->item(row, 0);
                item && table->columnSpan(row, 0) == 1) {
                item->setToolTip(item->text());
            }
        }
        if (table) {
            table->setColumnWidth(0, width);
        }
    }
}

// The width of every column (up to a limit) and the height of `visibleRows` rows, more when
// `growing` and the dialog is made taller.
void FitTable(QTableWidget& table, int visibleRows, bool growing) {
    const int scrollBar = ScrollBarWidth(table);
    int columns = ColumnsWidth(table);
    for (int row = 0; row < table.rowCount(); ++row) {
        columns = std::max(columns, RowWidth(table, row));
    }
    int width = 2 * table.frameWidth() + 2 + columns;
    if (table.rowCount() > visibleRows) {
        width += scrollBar;
    }
    int height = 2 * table.frameWidth() + 2 + table.horizontalHeader()->sizeHint().height();
    for (int row = 0; row < std::min(table.rowCount(), visibleRows); ++row) {
        height += table.rowHeight(row);
    }
    // As wide as its columns, up to the widest a table may grow.
    const int widest = WidestTable(table);
    table.setMinimumWidth(std::min(width, widest));
    if (width > widest) {
        height += scrollBar; // the rows still show whole above the scroll bar
    }
    if (table.rowCount() <= visibleRows || !growing) {
        table.setFixedHeight(height); // no room left empty under the rows
    } else {
        table.setMinimumHeight(height);
    }
}

// The same width for each column in both tables, so that their columns line up.
void AlignColumns(QTableWidget& rows, QTableWidget& apart) {
    for (int column = 0; column < rows.columnCount(); ++column) {
        const int width = std::max(rows.columnWidth(column), apart.columnWidth(column));
        rows.setColumnWidth(column, width);
        apart.setColumnWidth(column, width);
    }
}

constexpr int kVisibleRows = 10;
constexpr int kVisibleApartRows = 4;
} // namespace

CTableDialog::CTableDialog(const TableRequest& table, QWidget* parent) : QDialog(parent) {
    setWindowTitle(Q(table.title));
    auto* layout = new QVBoxLayout(this);
    if (!table.intro.empty()) {
        layout->addWidget(MakeTextBlock(table.intro, false, this));
    }
    rows_ = MakeTable(table, table.rows, true, this);
    rows_->setObjectName("rows");
    layout->addWidget(rows_, 1);
    QTableWidget* apart = nullptr;
    if (!table.apart.empty()) {
        auto* heading = new QLabel(Q(table.apartHeading), this);
        heading->setWordWrap(true);
        layout->addWidget(heading);
        apart = MakeTable(table, table.apart, false, this);
        apart->setObjectName("apart");
        AlignColumns(*rows_, *apart);
    }
    NarrowColumns(*rows_, apart);
    // With no row to pick, the empty table gives its room to the rows apart.
    const bool noRows = table.rows.empty();
    if (apart) {
        FitTable(*apart, noRows ? kVisibleRows : kVisibleApartRows, false);
        layout->addWidget(apart, noRows ? 1 : 0);
    }
    FitTable(*rows_, kVisibleRows, true);
    rows_->setVisible(!noRows || !apart);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* pick = buttons->addButton(Q(table.pickLabel.empty() ? "Apply" : table.pickLabel),
                                           QDialogButtonBox::AcceptRole);
    pick->setObjectName("pick");
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    (noRows ? cancel : pick)->setDefault(true); // Return closes a table with nothing to pick
    layout->addWidget(buttons);

    const auto selectedRow = [this] {
        const QModelIndexList selected = rows_->selectionModel()->selectedRows();
        return selected.isEmpty() ? -1 : selected.front().row();
    };
    connect(rows_, &QTableWidget::itemSelectionChanged, pick,
            [pick, selectedRow] { pick->setEnabled(selectedRow() >= 0); });
    connect(rows_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { Pick(row); });
    connect(buttons, &QDialogButtonBox::accepted, this,
            [this, selectedRow] { Pick(selectedRow()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pick->setEnabled(false);
    if (rows_->rowCount() > 0) {
        rows_->selectRow(0);
    }
    rows_->setFocus();
    KeepHintAsMinimum(*this);
}

void CTableDialog::Pick(int row) {
    if (row < 0 || row >= rows_->rowCount()) {
        return;
    }
    picked_ = row;
    accept();
}

namespace {
struct DialogMaker {
    QWidget* parent;

    std::unique_ptr<QDialog> operator()(const MessageBoxContent& content) const {
        return MakeMessageBox(content, parent);
    }
    std::unique_ptr<QDialog> operator()(const ChoiceRequest& request) const {
        return std::make_unique<CChoiceBox>(request, parent);
    }
    std::unique_ptr<QDialog> operator()(const TextRequest& request) const {
        return MakeTextDialog(request, parent);
    }
    std::unique_ptr<QDialog> operator()(const FormRequest& form) const {
        return std::make_unique<CFormDialog>(form, parent);
    }
    std::unique_ptr<QDialog> operator()(const TableRequest& table) const {
        return std::make_unique<CTableDialog>(table, parent);
    }
};
} // namespace

std::unique_ptr<QDialog> MakeDialog(const ShownDialog& dialog, QWidget* parent) {
    return std::visit(DialogMaker{parent}, dialog);
}
