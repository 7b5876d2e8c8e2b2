#include "design/property_tabulix_item.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "design/dialog_style.h"
#include "design/up_down.h"
#include "framework/ui_services.h"

namespace tabulix::design {

const char* const TfrmPropertyTabulixItem::kAyudaCampo = "Seleccione el campo al que se le aplicará la formula.";
const char* const TfrmPropertyTabulixItem::kAyudaFormula =
    "Seleccione la formula a aplicar, si dese personalizar la formula seleccione la última.";
const char* const TfrmPropertyTabulixItem::kAyudaFormulaPropia =
    "Formula propia. #Fnn# Casilla formula n. #T_NombreTField# Rango de casillas del TField especificado. "
    "Ej1: =(1,16*#F01#)+#F02#  Ej2: =Redondear(#T_TOTALLINIA#,2)";
const char* const TfrmPropertyTabulixItem::kAyudaColumna = "Columna donde se pondrá la formula.";
const char* const TfrmPropertyTabulixItem::kAyudaIncFila =
    "Fila donde se pondrá la formula respeto la última fila donde allá información del DataSet.";
const char* const TfrmPropertyTabulixItem::kAyudaTexto = "Si se dese especificar un texto que acompañe a la formula.";
const char* const TfrmPropertyTabulixItem::kAyudaAlineacion = "Alineación del texto de la formula.";
const char* const TfrmPropertyTabulixItem::kAyudaSituacion = "Situación de la formula respecto la formula.";
const char* const TfrmPropertyTabulixItem::kAyudaPuntoYComa =
    "El carácter \";\" no se admite: separa los campos de la formula y partiría el registro.";

namespace {

constexpr int kOwnFormula = 4;
constexpr int kLetters = 26;

QString columnLetters(int column) {
    QString letters;
    for (; column > 0; column = (column - 1) / kLetters)
        letters.prepend(QChar('A' + (column - 1) % kLetters));
    return letters;
}

QLabel* boldLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

std::string text(const QString& value) { return value.toUtf8().toStdString(); }

void errorBox(const char* message) {
    framework::CurrentUi().MessageDlg(message, "", framework::TMsgDlgType::mtError, framework::mbOKOnly);
}

}  // namespace

TfrmPropertyTabulixItem::TfrmPropertyTabulixItem(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Propiedades Formula");
    setFont(DialogFont());

    Campo = new QComboBox(this);
    Formula = new QComboBox(this);
    FormulaPropia = new QLineEdit(this);
    columna = new QComboBox(this);
    IncFila = new QLineEdit(this);
    Incrementador = new UpDown(*IncFila, 1, 50, this);
    Texto = new QLineEdit(this);
    Alineacion = new QComboBox(this);
    Situacion = new QComboBox(this);
    Campo->setObjectName("Campo");
    Formula->setObjectName("Formula");
    FormulaPropia->setObjectName("FormulaPropia");
    columna->setObjectName("columna");
    IncFila->setObjectName("IncFila");
    Texto->setObjectName("Texto");
    Alineacion->setObjectName("Alineacion");
    Situacion->setObjectName("Situacion");

    Campo->setMinimumWidth(180);
    Formula->setMinimumWidth(110);
    FormulaPropia->setMinimumWidth(260);
    columna->setMaxVisibleItems(12);
    IncFila->setFixedWidth(40);
    IncFila->setAlignment(Qt::AlignRight);
    QSizePolicy keepPlace = FormulaPropia->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    FormulaPropia->setSizePolicy(keepPlace);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(7);
    auto row = [](std::initializer_list<QWidget*> widgets) {
        auto* line = new QHBoxLayout;
        line->setSpacing(4);
        for (QWidget* w : widgets) line->addWidget(w);
        line->addStretch(1);
        return line;
    };
    form->addRow(boldLabel("Campo:", this), row({Campo}));
    form->addRow(boldLabel("Formula:", this), row({Formula, FormulaPropia}));
    form->addRow(boldLabel("Columna:", this), row({columna}));
    form->addRow(boldLabel("Fila Respecto Última:", this), row({IncFila, Incrementador}));
    form->addRow(boldLabel("Texto Formula:", this), row({Texto}));
    form->addRow(boldLabel("Alineación del Texto:", this), row({Alineacion}));
    form->addRow(boldLabel("Situación Respecto Formula:", this), row({Situacion}));
    Texto->setMinimumWidth(260);

    auto* buttons = new QDialogButtonBox(this);
    BitBtn1 = buttons->addButton(QDialogButtonBox::Ok);
    BitBtn2 = buttons->addButton(QDialogButtonBox::Cancel);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2->setObjectName("BitBtn2");
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { reject(); });

    StatusBar = new QStatusBar(this);
    StatusBar->setSizeGripEnabled(false);
    panel_ = new QLabel(StatusBar);
    panel_->setMinimumWidth(1);  // a long help line must not widen the fixed-size dialog
    panel_->setWordWrap(true);   // it wraps instead, and the panel has room for its lines
    StatusBar->addWidget(panel_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(14, 14, 14, 8);
    body->setSpacing(12);
    body->addLayout(form);
    body->addWidget(buttons);
    layout->addLayout(body);
    layout->addWidget(StatusBar);

    for (QWidget* control : std::initializer_list<QWidget*>{Campo, Formula, FormulaPropia, columna, IncFila, Texto,
                                                            Alineacion, Situacion})
        control->installEventFilter(this);
    connect(Campo, &QComboBox::activated, this, [this] { CampoClick(); });
    connect(Formula, &QComboBox::activated, this, [this] { FormulaClick(); });
    connect(Texto, &QLineEdit::textEdited, this, [this] { refuseSemicolons(*Texto, false); });
    connect(FormulaPropia, &QLineEdit::textEdited, this, [this] { refuseSemicolons(*FormulaPropia, true); });

    // FormCreate
    fillColumns(0);
    columna->setCurrentIndex(0);
    FormulaPropia->clear();
    FormulaPropia->hide();

    // The panel takes the height of the longest help line wrapped at the dialog's width, so
    // that every line reads whole and the dialog never changes size under the user.
    const int width = std::max(sizeHint().width(), 560);
    const int panelWidth = width - 40;  // less the status bar's margins, with room to spare
    int tallest = 0;
    for (const char* line : {kAyudaCampo, kAyudaFormula, kAyudaFormulaPropia, kAyudaColumna, kAyudaIncFila, kAyudaTexto,
                             kAyudaAlineacion, kAyudaSituacion, kAyudaPuntoYComa})
        tallest = std::max(tallest, panel_->fontMetrics()
                                        .boundingRect(QRect(0, 0, panelWidth, 1000), Qt::TextWordWrap,
                                                      QString::fromUtf8(line))
                                        .height());
    panel_->setMinimumHeight(tallest + 4);
    setFixedSize(sizeHint().expandedTo(QSize(width, 0)));
}

void TfrmPropertyTabulixItem::fillColumns(int fieldCount) {
    const QString selected = columna->currentText();
    columna->clear();
    for (int column = 1; column <= std::max(kLetters, fieldCount); ++column) columna->addItem(columnLetters(column));
    columna->setCurrentIndex(columna->findText(selected));
}

void TfrmPropertyTabulixItem::CrearComboSegunIdioma() {
    Formula->clear();
    Formula->addItems({"SUMA", "PROMEDIO", "MAX", "MIN", "OTRA"});
    Formula->setCurrentIndex(0);
    Situacion->clear();
    Situacion->addItems({"DERECHA", "IZQUIERDA", "ARRIBA", "ABAJO"});
    Alineacion->clear();
    Alineacion->addItems({"IZQUIERDA", "CENTRADO", "DERECHA"});
    Alineacion->setCurrentIndex(0);
    Situacion->setCurrentIndex(0);
    Campo->setCurrentIndex(Campo->count() > 0 ? 0 : -1);
    fillColumns(Campo->count());
}

void TfrmPropertyTabulixItem::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
    // FormShow
    Campo->setFocus(Qt::OtherFocusReason);
    setHelp(QString::fromUtf8(kAyudaCampo));
    FormulaPropia->setVisible(Formula->currentIndex() == kOwnFormula);
}

void TfrmPropertyTabulixItem::FormulaClick() {
    const bool own = Formula->currentIndex() == kOwnFormula;
    FormulaPropia->setVisible(own);
    if (!own) FormulaPropia->clear();
}

void TfrmPropertyTabulixItem::CampoClick() {
    const int field = Campo->currentIndex();
    columna->setCurrentIndex(field < columna->count() ? field : -1);
}

void TfrmPropertyTabulixItem::BitBtn1Click() {
    struct Check {
        QComboBox* control;
        const char* message;
    };
    const Check checks[] = {{Campo, "Debe indicar el Campo."},
                            {Formula, "Debe indicar la Formula."},
                            {columna, "Debe indicar la Columna."},
                            {Situacion, "Debe indicar la Situación."}};
    for (const Check& check : checks) {
        if (check.control->currentIndex() >= 0) continue;
        errorBox(check.message);
        check.control->setFocus(Qt::OtherFocusReason);
        return;  // the dialog stays open
    }
    accept();
}

void TfrmPropertyTabulixItem::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TfrmPropertyTabulixItem::FormClose() {
    result_.campo = Campo->currentIndex() >= 0 ? text(Campo->currentText()) : std::string();
    result_.formula = Formula->currentIndex();
    result_.columna = text(columna->currentText());
    result_.incFila = text(IncFila->text());
    result_.texto = text(Texto->text());
    result_.situacion = Situacion->currentIndex();
    result_.alineacion = Alineacion->currentIndex();
    result_.formulaPropia = text(FormulaPropia->text());
}

bool TfrmPropertyTabulixItem::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // A combo box's own drop-down takes the focus for a moment; that is not leaving it.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
            return QDialog::eventFilter(watched, event);
        if (event->type() == QEvent::FocusOut) {
            setHelp({});  // CampoExit
        } else {
            const std::pair<QObject*, const char*> lines[] = {
                {Campo, kAyudaCampo},     {Formula, kAyudaFormula},       {FormulaPropia, kAyudaFormulaPropia},
                {columna, kAyudaColumna}, {IncFila, kAyudaIncFila},       {Texto, kAyudaTexto},
                {Alineacion, kAyudaAlineacion}, {Situacion, kAyudaSituacion}};
            for (const auto& [control, line] : lines)
                if (control == watched) setHelp(QString::fromUtf8(line));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmPropertyTabulixItem::refuseSemicolons(QLineEdit& edit, bool upperCase) {
    QString value = edit.text();
    int cursor = edit.cursorPosition();
    const int before = static_cast<int>(value.left(cursor).count(';'));
    const bool refused = value.contains(';');
    if (refused) {
        value.remove(';');
        cursor -= before;
        setHelp(QString::fromUtf8(kAyudaPuntoYComa));
    }
    if (upperCase) value = value.toUpper();
    if (value == edit.text()) return;
    edit.setText(value);
    edit.setCursorPosition(cursor);
}

void TfrmPropertyTabulixItem::setHelp(const QString& line) { panel_->setText(line); }

QString TfrmPropertyTabulixItem::HelpLine() const { return panel_->text(); }

}  // namespace tabulix::design
