#pragma once
// The shell's dialogs as Qt widgets. The desktop runs them; the driver's screenshots picture the
// same widgets, so a picture shows a dialog as a user would see it. Every size comes from the
// font or the style, so the dialogs keep their layout on a scaled screen.

#include "app/platform/ShownDialog.h"

#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QFormLayout;
class QLabel;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

// A message box with an OK button whose text can be selected and copied.
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxContent& content, QWidget* parent);

// A question with its buttons in the given order, the first the default. Escape and the
// window's close button close it with no button chosen.
class CChoiceBox : public QMessageBox {
public:
    CChoiceBox(const ChoiceRequest& request, QWidget* parent);
    // The index of the button pressed, or none.
    std::optional<int> Chosen() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::vector<QAbstractButton*> buttons_;
};

// One line of text, selected at first so that typing replaces it.
std::unique_ptr<QInputDialog> MakeTextDialog(const TextRequest& request, QWidget* parent);

// Labelled fields with their units between an intro and a note; the preview line under the
// fields follows every change, and OK can be pressed only while the preview accepts the texts.
class CFormDialog : public QDialog {
public:
    CFormDialog(const FormRequest& form, QWidget* parent);
    // The fields' texts as they stand.
    std::vector<std::string> Texts() const;

private:
    void AddFields(const std::vector<FormField>& fields, QVBoxLayout& layout);
    // The list of the form's starting texts, in the first row of `form`.
    void AddStarts(QFormLayout& form);
    void FillFrom(const FormStart& start);
    void ShowStartInUse();
    void UpdatePreview();

    FormRequest form_;
    std::vector<QWidget*> edits_; // a QLineEdit or a QPlainTextEdit per field
    QLabel* preview_ = nullptr;
    QPushButton* ok_ = nullptr;
    QComboBox* starts_ = nullptr;
};

// A table to pick one row from, by its button or a double click, and the rows that cannot be
// picked in a second table under their heading.
class CTableDialog : public QDialog {
public:
    CTableDialog(const TableRequest& table, QWidget* parent);
    // The row picked (an index in the request's rows), or none.
    std::optional<int> PickedRow() const { return picked_; }

private:
    void Pick(int row);

    QTableWidget* rows_ = nullptr;
    std::optional<int> picked_;
};

// Any of them, as the desktop shows it (a form shows the preview of its texts).
std::unique_ptr<QDialog> MakeDialog(const ShownDialog& dialog, QWidget* parent);
