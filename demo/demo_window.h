#pragma once
// TForm1: the demonstration's single window. Each button copies settings from the window into
// the component `de` and calls one of its operations; the results panel shows where the last
// transfer put the data and the formulas. Controls carry the names the handlers use
// (objectName "Button1", "Edit7", ...), so tests and screenshots find them by name.
//
// The non-visual components DB, Taula, de, FDial and CDial come from the form file; the table is
// opened when the window is first shown. The Qt font and colour dialogs start from FDial's and
// CDial's choice and write a confirmed choice back into them. A failure to read the form file or to open the table is shown then,
// and the window stays open with the two transfer buttons disabled.

#include <QDialog>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>

#include "demo/demo_components.h"

class QCheckBox;
class QColorDialog;
class QComboBox;
class QFontDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tabulix::component {
class TAtributosCasilla;
}

namespace tabulix::demo {

class TForm1 : public QWidget {
    Q_OBJECT

public:
    // Reads the non-visual components from `formFile`.
    explicit TForm1(const std::filesystem::path& formFile, QWidget* parent = nullptr);
    ~TForm1() override;

    // How the font and colour dialogs are run: QDialog::exec by default. Returns the dialog's
    // result (QDialog::Accepted when the user confirmed).
    using DialogRunner = std::function<int(QDialog&)>;
    void setDialogRunner(DialogRunner runner);

    component::TTabulix& de() { return *components_.de; }
    data::TTable* Taula() { return components_.Taula; }
    // The dialogs' stored choices, read at every single-cell write.
    framework::TFontDialog& FDial() { return *components_.FDial; }
    framework::TColorDialog& CDial() { return *components_.CDial; }

    // Event handlers.
    void FormShow();
    void Button1Click(QObject* sender);
    void ComboBox1Click();
    void ComboBox2Click();
    void Button8Click();
    void Button2Click();
    void Button4Click();
    void Button17Click();
    void Button10Click();
    void Button16Click();
    void Button3Click();
    void Button6Click();
    void Button19Click();
    void Button5Click();
    void Button7Click();
    void Button12Click();
    void Button13Click();
    void Button14Click();
    void Button15Click();

signals:
    // The user closed the window: the program ends (the spreadsheet's window may still be open).
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    QWidget* buildTransferPage();
    QWidget* buildManualPage();
    QFrame* buildPanel1();
    QFrame* buildPanel4();
    QFrame* buildPanel2();
    QFrame* buildPanel3();
    QFrame* buildPanel5();
    // Runs `handler` when `button` is clicked, reporting what it throws.
    void onClick(QPushButton* button, void (TForm1::*handler)());

    void ActualizarValores();
    std::string cellAddress() const;
    void applyChosenFormat(const std::string& cell);
    void setTransferEnabled(bool enabled);

    DemoComponents components_;
    DialogRunner runDialog_;
    bool shown_ = false;

    QFontDialog* fontDialog_ = nullptr;
    QColorDialog* colorDialog_ = nullptr;
    QTabWidget* PageControl1 = nullptr;

    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button9 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button18 = nullptr;

    QFrame* Panel4 = nullptr;
    QLineEdit* Edit21 = nullptr;
    QLineEdit* Edit17 = nullptr;
    QLineEdit* Edit18 = nullptr;
    QLineEdit* Edit19 = nullptr;
    QLineEdit* Edit20 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QLineEdit* Edit22 = nullptr;
    QLineEdit* Edit23 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QPushButton* Button8 = nullptr;

    QFrame* Panel2 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QLineEdit* Edit8 = nullptr;

    QFrame* Panel3 = nullptr;
    QPushButton* Button10 = nullptr;
    QPushButton* Button16 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button17 = nullptr;
    QRadioButton* f1 = nullptr;
    QLineEdit* Edit9 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QRadioButton* f2 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QLineEdit* Edit12 = nullptr;
    QRadioButton* f3 = nullptr;
    QLineEdit* Edit13 = nullptr;
    QLineEdit* Edit14 = nullptr;
    QPushButton* Button6 = nullptr;
    QLineEdit* Formula = nullptr;
    QPushButton* Button19 = nullptr;
    QPushButton* Button5 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QPushButton* Button7 = nullptr;

    QFrame* Panel5 = nullptr;
    QComboBox* Libros = nullptr;
    QPushButton* Button12 = nullptr;
    QPushButton* Button13 = nullptr;
    QComboBox* Hojas = nullptr;
    QPushButton* Button14 = nullptr;
    QPushButton* Button15 = nullptr;
};

}  // namespace tabulix::demo
