#include "demo/demo_window.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "component/atributos_casilla.h"
#include "component/tabulix.h"
#include "data/database.h"
#include "data/field.h"
#include "data/table.h"
#include "demo/error_report.h"
#include "demo/font_choice.h"
#include "framework/convert.h"
#include "framework/currency_settings.h"
#include "framework/dialogs.h"
#include "ui/spanish_message.h"

namespace tabulix::demo {

using component::TTabulix;

namespace {

std::string text(const QLineEdit* edit) { return edit->text().toStdString(); }

// The names of a string list, as the entries of a drop-down list.
QStringList entriesOf(const framework::TStringList& names) {
    QStringList entries;
    for (int i = 0; i < names.Count(); ++i) entries << QString::fromStdString(names.Strings(i));
    return entries;
}

void replaceEntries(QComboBox* box, const QStringList& entries) {
    box->clear();
    box->addItems(entries);
    box->setCurrentIndex(entries.isEmpty() ? -1 : 0);
}

}  // namespace

TForm1::TForm1(const std::filesystem::path& formFile, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      components_(LoadDemoComponents(formFile)),
      runDialog_([](QDialog& dialog) { return dialog.exec(); }) {
    buildWindow();
    // A face the machine does not have is shown and applied as the face that stands in for it.
    framework::TFont& font = FDial().Font();
    font.SetName(AvailableFamily(QString::fromStdString(font.Name())).toStdString());

    connect(Button1, &QPushButton::clicked, this, [this] { RunReported([this] { Button1Click(Button1); }); });
    connect(Button9, &QPushButton::clicked, this, [this] { RunReported([this] { Button1Click(Button9); }); });
    connect(ComboBox1, &QComboBox::activated, this, [this] { RunReported([this] { ComboBox1Click(); }); });
    connect(ComboBox2, &QComboBox::activated, this, [this] { RunReported([this] { ComboBox2Click(); }); });
    onClick(Button8, &TForm1::Button8Click);
    onClick(Button2, &TForm1::Button2Click);
    onClick(Button4, &TForm1::Button4Click);
    onClick(Button17, &TForm1::Button17Click);
    onClick(Button18, &TForm1::Button17Click);
    onClick(Button10, &TForm1::Button10Click);
    onClick(Button16, &TForm1::Button16Click);
    onClick(Button3, &TForm1::Button3Click);
    onClick(Button6, &TForm1::Button6Click);
    onClick(Button19, &TForm1::Button19Click);
    onClick(Button5, &TForm1::Button5Click);
    onClick(Button7, &TForm1::Button7Click);
    onClick(Button12, &TForm1::Button12Click);
    onClick(Button13, &TForm1::Button13Click);
    onClick(Button14, &TForm1::Button14Click);
    onClick(Button15, &TForm1::Button15Click);
}

// The components go with components_, before QWidget frees the controls; no control refers to them.
TForm1::~TForm1() = default;

void TForm1::setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

void TForm1::onClick(QPushButton* button, void (TForm1::*handler)()) {
    connect(button, &QPushButton::clicked, this, [this, handler] { RunReported([this, handler] { (this->*handler)(); }); });
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    RunReported([this] { FormShow(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void TForm1::setTransferEnabled(bool enabled) {
    Button1->setEnabled(enabled);
    Button9->setEnabled(enabled);
}

// --- Start-up ---------------------------------------------------------------------------------

void TForm1::FormShow() {
    Edit4->setText(QString::fromStdString(framework::Currency().CurrencyString));
    Panel2->setEnabled(false);
    f1->setChecked(true);
    ComboBox3->setCurrentIndex(0);
    ComboBox4->setCurrentIndex(0);

    if (!components_.loadError.empty()) {
        setTransferEnabled(false);
        ReportError("No se pudo leer el formulario de la demostraci\u00f3n:\n" + components_.loadError);
        return;
    }
    try {
        components_.DB->Open();
        components_.Taula->Open();
    } catch (const std::exception& e) {
        setTransferEnabled(false);
        ReportError("No se pudo abrir la tabla de la demostraci\u00f3n; los traspasos quedan desactivados.\n" +
                    ui::SpanishMessage(e));
    }
}

// --- Transfer and results -----------------------------------------------------------------------

void TForm1::Button1Click(QObject* sender) {
    TTabulix& tabulix = de();
    tabulix.AutoAjustarColumnasDatos = CheckBox1->isChecked();
    tabulix.AutoAjustarFormulas = CheckBox2->isChecked();
    tabulix.AutoAjustarFormulasTexto = CheckBox6->isChecked();
    tabulix.CabeceraMostrar = CheckBox3->isChecked();
    tabulix.TituloCombinarCentrar = CheckBox4->isChecked();
    tabulix.VerConstruccion = CheckBox5->isChecked();
    tabulix.FilaInicial = framework::StrToIntDef(text(Edit1), 0);
    tabulix.NombreHoja = text(Edit2);
    tabulix.Titulo = text(Edit3);
    framework::CurrencySettings currency = framework::Currency();
    currency.CurrencyString = text(Edit4);
    framework::SetCurrency(std::move(currency));
    if (sender->property("tag").toInt() == 0)
        tabulix.TraspasarNuevoLibro();
    else
        tabulix.TraspasarNuevaHoja();
    ActualizarValores();
}

void TForm1::ActualizarValores() {
    Panel2->setEnabled(true);
    Edit5->setText(QString::number(de().PrimeraFilaDatos()));
    Edit6->setText(QString::number(de().UltimaFilaDatos()));

    QStringList formulas;
    component::TFormulaTabulix& records = de().Formulas();
    for (int i = 1; i <= records.CuantasFormulas(); ++i) formulas << QString::fromStdString(records.Formula(i));
    replaceEntries(ComboBox1, formulas);
    ComboBox1Click();

    QStringList fields;
    if (data::TTable* table = Taula())
        for (int i = 0; i < table->FieldCount(); ++i)
            if (table->Fields(i)->Visible()) fields << QString::fromStdString(table->Fields(i)->FieldName());
    replaceEntries(ComboBox2, fields);
    ComboBox2Click();
}

void TForm1::ComboBox1Click() {
    Edit7->setText(QString::fromStdString(de().CasillaFormula(ComboBox1->currentIndex() + 1)));
}

void TForm1::ComboBox2Click() {
    Edit8->setText(QString::fromStdString(de().RangoCampo(ComboBox2->currentText().toStdString())));
}

// --- Chart --------------------------------------------------------------------------------------

void TForm1::Button8Click() {
    TTabulix& tabulix = de();
    const std::int32_t firstRow = CheckBox3->isChecked() ? tabulix.PrimeraFilaDatos() - 1 : tabulix.PrimeraFilaDatos();
    const std::string first = tabulix.Casilla(tabulix.ColumnaCampo("DESC_ARTI"), firstRow);
    const std::string second = tabulix.Casilla(tabulix.ColumnaCampo("VENTAS_MAR"), tabulix.UltimaFilaDatos());
    const std::int32_t categoryLabels = framework::StrToInt(text(Edit22));
    const std::int32_t seriesLabels = framework::StrToInt(text(Edit23));
    tabulix.CrearGrafico(text(Edit21), first, second, static_cast<component::TTipoGrafico>(ComboBox3->currentIndex()),
                         static_cast<component::TColumna_Fila>(ComboBox4->currentIndex()), text(Edit17), text(Edit18),
                         text(Edit19), text(Edit20), categoryLabels, seriesLabels, CheckBox8->isChecked());
    ActualizarValores();
}

// --- Single cells -------------------------------------------------------------------------------

std::string TForm1::cellAddress() const {
    if (f1->isChecked()) {
        const std::int32_t column = framework::StrToInt(text(Edit9));
        return components_.de->Casilla(column, framework::StrToInt(text(Edit10)));
    }
    if (f2->isChecked()) {
        const QString letters = Edit11->text();
        const char letter = letters.isEmpty() || letters[0].unicode() > 0x7F ? '\0' : static_cast<char>(letters[0].unicode());
        return components_.de->Casilla(letter, framework::StrToInt(text(Edit12)));
    }
    return text(Edit13);
}

void TForm1::applyChosenFormat(const std::string& cell) {
    component::TAtributosCasilla attributes;
    attributes.SetFuente(FDial().Font());
    attributes.ColorFondoActivado = CheckBox7->isChecked();
    attributes.ColorFondo = CDial().Color;
    de().AsignarAtributosCasilla(cell, attributes);
}

void TForm1::Button6Click() {
    const std::string cell = cellAddress();
    de().ValorCasilla(cell, automation::Variant(text(Edit14)));
    applyChosenFormat(cell);
}

void TForm1::Button19Click() {
    const std::string cell = cellAddress();
    de().FormulaCasilla(cell, text(Formula));
    applyChosenFormat(cell);
}

void TForm1::Button5Click() {
    fontDialog_->setCurrentFont(DialogFont(FDial().Font()));
    if (runDialog_(*fontDialog_) == QDialog::Accepted) AssignDialogFont(FDial().Font(), fontDialog_->selectedFont());
}

void TForm1::Button7Click() {
    colorDialog_->setCurrentColor(DialogColor(CDial().Color));
    if (runDialog_(*colorDialog_) == QDialog::Accepted) CDial().Color = ComponentColor(colorDialog_->selectedColor());
}

// --- Connection, workbooks and sheets ------------------------------------------------------------

void TForm1::Button2Click() { de().SetVisible(true); }
void TForm1::Button4Click() { de().SetVisible(true); }
void TForm1::Button17Click() { de().SetVisible(false); }
void TForm1::Button10Click() { de().Activar(); }
void TForm1::Button16Click() { de().CrearLibro(); }
void TForm1::Button3Click() { de().CrearHoja(); }

void TForm1::Button12Click() { replaceEntries(Libros, entriesOf(*de().Libros())); }

void TForm1::Button13Click() {
    if (Libros->currentIndex() < 0) return;
    de().ActivarLibro(Libros->currentText().toStdString());
    Button14Click();
}

void TForm1::Button14Click() { replaceEntries(Hojas, entriesOf(*de().Hojas())); }

void TForm1::Button15Click() {
    if (Hojas->currentIndex() < 0) return;
    de().ActivarHoja(Hojas->currentText().toStdString());
}

}  // namespace tabulix::demo
