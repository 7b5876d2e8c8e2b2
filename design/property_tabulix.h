#pragma once
// TfrmPropertyTabulix: the modal dialog that edits the formula records of a TTabulix. It works on
// a private copy (`list`) of the records and the data set's field names (`cb`) that the property
// editor fills before showing it and reads back after it closes; each record is one line of the
// tree, in a readable form. New and Change open the item dialog for one record; Delete removes
// the selected record at once.
//
// Invariant after every operation: the tree has exactly as many top-level nodes as `list` has
// lines, and node k shows the display line (Formato) of line k.

#include <QDialog>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tabulix::component {
class TFormulaTabulix;
}

namespace tabulix::design {

class TfrmPropertyTabulixItem;

class TfrmPropertyTabulix : public QDialog {
public:
    explicit TfrmPropertyTabulix(QWidget* parent = nullptr);

    // Filled by the property editor before showing; `list` is read back after closing.
    std::vector<std::string> list;
    std::vector<std::string> cb;
    // The edited list (not owned): splits records into fields and names function codes.
    component::TFormulaTabulix* Formulas = nullptr;

    // How the item dialog is shown modally (the host's modal display); exec() by default.
    std::function<int(QDialog&)> ShowModal;

    // The display line of a record text. Raises framework::EConvertError when field 2 is not a
    // whole number.
    std::string Formato(const std::string& record) const;

    // The handlers, callable as the buttons call them.
    void BitBtn2Click();      // New
    void BitBtn1Click();      // Delete
    void btnModificarClick(); // Change

    // A failure while filling the tree on showing closes the dialog; the caller raises it again
    // once the modal display has returned.
    void RethrowFillError() const;

    QTreeWidget* Tree;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
    QPushButton* btnModificar;
    QLabel* Label1;
    QPushButton* BitBtn3;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    // Widens the dialog to its longest line, as far as the screen allows.
    void fitToLines();
    // The record text of the item dialog's result values.
    static std::string recordOf(const TfrmPropertyTabulixItem& item);
    // Runs a handler; a failure is shown as the host shows any error, and the dialog stays open.
    void guarded(const std::function<void()>& handler);
    int selectedPosition() const;
    // An item dialog with the field names of `cb` and its lists filled.
    std::unique_ptr<TfrmPropertyTabulixItem> newItemDialog() const;

    std::exception_ptr fillError_;
};

}  // namespace tabulix::design
