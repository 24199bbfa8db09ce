// The desktop's dialogs as a user meets them (offscreen): each is asked through the shell, and
// a timer finds the modal dialog, types into it and presses its keys and buttons.
#include "app/model/NumberFormat.h"
#include "app/platform/qt/QtShell.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>

#include <functional>

namespace {
// Runs `act` on the modal dialog as soon as it shows; closes it if `act` left it open, so that a
// failing test cannot hang.
void WhenShown(std::function<void(QWidget&)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) {
            ADD_FAILURE() << "no dialog showing";
            return;
        }
        act(*dialog);
        if (QApplication::activeModalWidget() == dialog) {
            ADD_FAILURE() << "the dialog is still open";
            dialog->close();
        }
    });
}

void SendKey(QWidget& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&target, &release);
}

// Keys go to the widget with the focus, as the window system sends them.
void Key(QWidget& dialog, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    SendKey(dialog.focusWidget() ? *dialog.focusWidget() : dialog, key, modifiers);
}

void Type(QWidget& edit, const QString& text) {
    for (const QChar c : text) {
        SendKey(edit, c.unicode(), Qt::NoModifier, QString(c));
    }
}

// Selects everything in the field and types over it.
void Retype(QWidget& edit, const QString& text) {
    SendKey(edit, Qt::Key_A, Qt::ControlModifier);
    Type(edit, text);
}

void DoubleClick(QTableWidget& table, int row) {
    QWidget* viewport = table.viewport();
    const QPoint point = table.visualItemRect(table.item(row, 0)).center();
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
        QMouseEvent event(type, point, viewport->mapToGlobal(point), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
}

QPushButton* Button(QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text().remove('&') == text) {
            return button;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

// The sample form: the liquid must be denser than the gas.
FormRequest DensityForm() {
    FormRequest form;
    form.title = "Fluid Properties";
    form.intro = "Typical values:\nFluid\tDensity\nWater\t62.4";
    form.fields = {{"Liquid density", "lb/ft3", "55", false},
                   {"Gas density", "lb/ft3", "2", false},
                   {"Note", "", "", true}};
    form.note = "Measured values are better.";
    form.preview = [](const std::vector<std::string>& texts, bool& acceptable) {
        const auto liquid = ReadNumber(texts[0]);
        const auto gas = ReadNumber(texts[1]);
        acceptable = liquid && gas && *liquid > *gas;
        return acceptable ? "Difference: " + FormatNumber(*liquid - *gas) : "Denser liquid, please";
    };
    return form;
}

TableRequest SeparatorTable() {
    TableRequest table;
    table.title = "Separator Finder";
    table.headers = {"Separator", "Capacity"};
    table.rows = {{"Small", "96"}, {"Medium", "242"}, {"Large", "467"}};
    table.apartHeading = "Too wide:";
    table.apart = {{"Huge", "900"}};
    return table;
}

class QtDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { StartEmptyProgram(); }

    CQtShell shell_;
};
} // namespace

TEST_F(QtDialogsTest, AQuestionKeepsItsButtonsInOrderAndEscapeOrClosingChoosesNone) {
    const std::vector<std::string> buttons = {"&Save", "Discard", "Cancel"};
    WhenShown([](QWidget& box) {
        QPushButton* save = Button(box, "Save");
        QPushButton* discard = Button(box, "Discard");
        QPushButton* cancel = Button(box, "Cancel");
        ASSERT_TRUE(save && discard && cancel);
        EXPECT_LT(save->x(), discard->x());
        EXPECT_LT(discard->x(), cancel->x());
        EXPECT_TRUE(save->isDefault());
        Key(box, Qt::Key_Return);
    });
    EXPECT_EQ(shell_.AskChoice("Unsaved Changes", "Save?", buttons), 0);
    WhenShown([](QWidget& box) { Button(box, "Discard")->click(); });
    EXPECT_EQ(shell_.AskChoice("Unsaved Changes", "Save?", buttons), 1);
    WhenShown([](QWidget& box) {
        // A name in the question shows as it is written, not as markup.
        EXPECT_EQ(static_cast<QMessageBox&>(box).textFormat(), Qt::PlainText);
        Key(box, Qt::Key_Escape);
    });
    EXPECT_EQ(shell_.AskChoice("Unsaved Changes", "Save <b>x</b>?", buttons), std::nullopt);
    WhenShown([](QWidget& box) { box.close(); });
    EXPECT_EQ(shell_.AskChoice("Unsaved Changes", "Save?", buttons), std::nullopt);
}

TEST_F(QtDialogsTest, ALineOfTextStartsSelectedSoTypingReplacesIt) {
    WhenShown([](QWidget& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->selectedText(), "My Sep 2");
        Type(*edit, "Well 7");
        Key(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(shell_.AskText("Rename Preset", "New name:", "My Sep 2"), "Well 7");
    WhenShown([](QWidget& dialog) {
        Type(*dialog.findChild<QLineEdit*>(), "Other");
        Key(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(shell_.AskText("Rename Preset", "New name:", "My Sep 2"), std::nullopt);
}

TEST_F(QtDialogsTest, TheFormsPreviewAndOkFollowTheTyping) {
    WhenShown([](QWidget& dialog) {
        auto* liquid = dialog.findChild<QLineEdit*>("field-1");
        auto* gas = dialog.findChild<QLineEdit*>("field-2");
        auto* note = dialog.findChild<QPlainTextEdit*>("field-3");
        auto* preview = dialog.findChild<QLabel*>("preview");
        QPushButton* ok = Button(dialog, "OK");
        ASSERT_TRUE(liquid && gas && note && preview && ok);
        EXPECT_EQ(preview->text(), "Difference: 53"); // from the first texts
        EXPECT_EQ(dialog.focusWidget(), liquid);
        Type(*liquid, "40"); // the first field starts selected
        EXPECT_EQ(preview->text(), "Difference: 38");
        Retype(*gas, "50");
        EXPECT_EQ(preview->text(), "Denser liquid, please");
        EXPECT_FALSE(ok->isEnabled());
        Key(dialog, Qt::Key_Return); // OK cannot be pressed
        EXPECT_TRUE(dialog.isVisible());
        Retype(*gas, "5");
        EXPECT_TRUE(ok->isEnabled());
        note->setFocus();
        Type(*note, "sampled");
        Key(dialog, Qt::Key_Tab); // leaves the note, typing no tab
        EXPECT_NE(dialog.focusWidget(), note);
        liquid->setFocus();
        Retype(*liquid, "41");
        Key(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(shell_.AskForm(DensityForm()), (std::vector<std::string>{"41", "5", "sampled"}));
    WhenShown([](QWidget& dialog) { Key(dialog, Qt::Key_Escape); });
    EXPECT_EQ(shell_.AskForm(DensityForm()), std::nullopt);

    // A typical case chosen from the list fills the fields it has texts for.
    FormRequest withStarts = DensityForm();
    withStarts.startsLabel = "Fill in a typical fluid";
    withStarts.starts = {{"Water", {"62.4", "0.08"}}, {"Brine", {"68.7", "5"}}};
    WhenShown([](QWidget& dialog) { // the fields hold a start: the list names it
        EXPECT_EQ(dialog.findChild<QComboBox*>("starts")->currentText(), "Brine");
        Key(dialog, Qt::Key_Escape);
    });
    withStarts.fields[0].text = "68.7";
    withStarts.fields[1].text = "5";
    EXPECT_EQ(shell_.AskForm(withStarts), std::nullopt);
    withStarts.fields[0].text = "55";
    WhenShown([](QWidget& dialog) {
        auto* starts = dialog.findChild<QComboBox*>("starts");
        ASSERT_NE(starts, nullptr);
        EXPECT_EQ(starts->currentIndex(), -1); // nothing chosen: the fields keep their texts
        starts->setFocus();
        SendKey(*starts, Qt::Key_Down);
        SendKey(*starts, Qt::Key_Down);
        EXPECT_EQ(dialog.findChild<QLabel*>("preview")->text(), "Difference: 63.7");
        Retype(*dialog.findChild<QLineEdit*>("field-1"), "68.7");
        EXPECT_EQ(starts->currentIndex(), -1); // typed over: no longer the fluid chosen
        Key(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(shell_.AskForm(withStarts), (std::vector<std::string>{"68.7", "5", ""}));
}

TEST_F(QtDialogsTest, ATableRowIsPickedByDoubleClickOrTheButtonButNotARowApart) {
    WhenShown([](QWidget& dialog) {
        auto* rows = dialog.findChild<QTableWidget*>("rows");
        ASSERT_NE(rows, nullptr);
        DoubleClick(*rows, 2);
    });
    EXPECT_EQ(shell_.ChooseRow(SeparatorTable()), 2);
    WhenShown([](QWidget& dialog) {
        auto* rows = dialog.findChild<QTableWidget*>("rows");
        auto* apart = dialog.findChild<QTableWidget*>("apart");
        ASSERT_TRUE(rows && apart);
        EXPECT_EQ(rows->currentRow(), 0); // the first row is selected at first
        DoubleClick(*apart, 0);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(apart->selectedItems().isEmpty());
        Key(dialog, Qt::Key_Down);
        Key(dialog, Qt::Key_Return); // the pick button is the default
    });
    EXPECT_EQ(shell_.ChooseRow(SeparatorTable()), 1);
    WhenShown([](QWidget& dialog) {
        EXPECT_NE(Button(dialog, "Apply"), nullptr); // when the request names no button
        Key(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(shell_.ChooseRow(SeparatorTable()), std::nullopt);

    // Nothing to pick: no empty table over the rows apart, and Return closes the dialog.
    TableRequest none = SeparatorTable();
    none.rows.clear();
    WhenShown([](QWidget& dialog) {
        EXPECT_FALSE(dialog.findChild<QTableWidget*>("rows")->isVisible());
        EXPECT_TRUE(dialog.findChild<QTableWidget*>("apart")->isVisible());
        EXPECT_TRUE(Button(dialog, "Cancel")->isDefault());
        Key(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(shell_.ChooseRow(none), std::nullopt);
}

TEST_F(QtDialogsTest, EveryRowShowsWholeAndAReasonSpansTheCellsLeftEmpty) {
    TableRequest table;
    table.headers = {"Separator", "OD", "Capacity", "Margin", "Reach", "Verdict"};
    for (int row = 0; row < 8; ++row) { // wider than the screen: a horizontal scroll bar
        table.rows.push_back({"Separator " + std::to_string(row), "3.75 in", "443 bbl/day", "55 %",
                              "at the inlet after 2 min 25 s",
                              "Fails: above capacity, " + std::string(90, 'x')});
    }
    const std::string reason = "outside diameter 4.5 in not below the drift diameter 3.965 in";
    table.apart = {{"Huge", "4.5 in", "", "", "", reason}};
    WhenShown([&reason](QWidget& dialog) {
        auto* rows = dialog.findChild<QTableWidget*>("rows");
        auto* apart = dialog.findChild<QTableWidget*>("apart");
        ASSERT_TRUE(rows && apart);
        EXPECT_GT(rows->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(rows->verticalScrollBar()->maximum(), 0) << "a row hidden under the scroll bar";
        ASSERT_NE(apart->item(0, 2), nullptr);
        EXPECT_EQ(apart->item(0, 2)->text().toStdString(), reason);
        EXPECT_EQ(apart->columnSpan(0, 2), 4);
        EXPECT_EQ(apart->item(0, 5), nullptr);
        // The reason does not widen the first column it spans.
        EXPECT_EQ(apart->columnWidth(2), rows->columnWidth(2));
        EXPECT_LT(apart->columnWidth(2),
                  apart->fontMetrics().horizontalAdvance(QString::fromStdString(reason)));
        Key(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(shell_.ChooseRow(table), std::nullopt);
}

// A table a little wider than the screen (a laptop at 150 %) keeps its last column in sight:
// headings of two words go on two lines and the names give up the rest, whole in their tooltips.
TEST_F(QtDialogsTest, ATableTooWideForTheScreenKeepsItsVerdictInSight) {
    const std::string name =
        "2-3/8 Poor Boy Separator & Top Hold-down Pump, " + std::string(40, 'n');
    TableRequest table;
    table.headers = {"Separator",       "Outside diameter",  "Maximum capacity",
                     "Capacity margin", "Deepest gas reach", "Verdict"};
    table.rows = {{name, "3.75 in", "443 bbl/day", "55 %", "5.3 of 56 in", "Works"}};
    table.apart = {{"Huge", "4.5 in", "", "", "", "outside diameter 4.5 in too wide"}};
    WhenShown([&name](QWidget& dialog) {
        auto* rows = dialog.findChild<QTableWidget*>("rows");
        auto* apart = dialog.findChild<QTableWidget*>("apart");
        ASSERT_TRUE(rows && apart);
        EXPECT_EQ(rows->horizontalScrollBar()->maximum(), 0);
        const int last = rows->columnCount() - 1;
        EXPECT_LE(rows->columnViewportPosition(last) +
                      rows->fontMetrics().horizontalAdvance("Works"),
                  rows->viewport()->width());
        EXPECT_EQ(rows->horizontalHeaderItem(1)->text(), "Outside\ndiameter");
        EXPECT_EQ(apart->horizontalHeaderItem(1)->text(), "Outside\ndiameter");
        EXPECT_EQ(rows->item(0, 0)->toolTip().toStdString(), name);
        EXPECT_EQ(apart->columnWidth(0), rows->columnWidth(0)); // the columns still line up
        Key(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(shell_.ChooseRow(table), std::nullopt);
}
