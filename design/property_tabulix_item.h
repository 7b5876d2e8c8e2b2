#pragma once
// TfrmPropertyTabulixItem: the modal dialog in which the user fills in one formula record field
// by field: the data set field, the function or an own formula, the result's column and row
// offset, and an optional caption with its alignment and position. The caller (the formula list
// dialog) replaces the entries of `Campo`, calls CrearComboSegunIdioma, presets the controls for
// a change, shows the dialog and, after OK, reads the eight values captured when it closed.
//
// A ";" would split the record into the wrong fields, so the caption and the own formula refuse
// it and the help line says why. The column list runs past "Z" when the data set has more
// fields than letters, so that every field can get its own column.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace tabulix::design {

class UpDown;

class TfrmPropertyTabulixItem : public QDialog {
public:
    // The values captured from the controls when the dialog closes, in record order.
    struct Resultado {
        std::string campo;          // the text of Campo (empty when none is selected)
        std::int32_t formula = -1;  // the selected index of Formula
        std::string columna;        // the text of columna
        std::string incFila;        // the text of IncFila
        std::string texto;
        std::int32_t situacion = -1;
        std::int32_t alineacion = -1;
        std::string formulaPropia;
    };

    explicit TfrmPropertyTabulixItem(QWidget* parent = nullptr);

    // Fills the function, situation and alignment lists, selects their first entries and the
    // first field; the column list gets the letters of every field beyond "Z".
    void CrearComboSegunIdioma();

    // Valid after the dialog has closed.
    const Resultado& Result() const { return result_; }
    // The text the status bar's panel shows.
    QString HelpLine() const;

    // The controls, named as the caller and the tests know them.
    QComboBox* Campo;
    QComboBox* Formula;
    QLineEdit* FormulaPropia;
    QComboBox* columna;
    QLineEdit* IncFila;
    UpDown* Incrementador;
    QLineEdit* Texto;
    QComboBox* Alineacion;
    QComboBox* Situacion;
    QPushButton* BitBtn1;  // OK
    QPushButton* BitBtn2;  // Cancel
    QStatusBar* StatusBar;

    // The help line of each control, and the line shown when a ";" is refused.
    static const char* const kAyudaCampo;
    static const char* const kAyudaFormula;
    static const char* const kAyudaFormulaPropia;
    static const char* const kAyudaColumna;
    static const char* const kAyudaIncFila;
    static const char* const kAyudaTexto;
    static const char* const kAyudaAlineacion;
    static const char* const kAyudaSituacion;
    static const char* const kAyudaPuntoYComa;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormulaClick();
    void CampoClick();
    void BitBtn1Click();
    void FormClose();
    void fillColumns(int fieldCount);
    void setHelp(const QString& text);
    // Removes every ";" from what was typed into `edit` and says why on the help line.
    void refuseSemicolons(QLineEdit& edit, bool upperCase);

    QLabel* panel_;
    Resultado result_;
};

}  // namespace tabulix::design
