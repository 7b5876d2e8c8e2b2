#include "design/property_tabulix.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "component/formula_tabulix.h"
#include "design/dialog_style.h"
#include "design/property_tabulix_item.h"
#include "design/up_down.h"
#include "framework/convert.h"
#include "framework/ui_services.h"

namespace tabulix::design {

using component::TFormulaTabulix;

namespace {

// The word of a situation or alignment code, by the first character of its field.
std::string wordOf(const std::string& field, std::initializer_list<const char*> words) {
    if (field.empty()) return {};
    const int code = field[0] - '0';
    if (code < 0 || code >= static_cast<int>(words.size())) return {};
    return *(words.begin() + code);
}

QString qt(const std::string& text) { return QString::fromStdString(text); }

// Selects entry `index` of a list, or nothing when the list has no such entry.
void selectIndex(QComboBox& list, int index) { list.setCurrentIndex(index >= 0 && index < list.count() ? index : -1); }

// Gives the tree the focus when a handler ends, also when it fails.
class RefocusOnExit {
public:
    explicit RefocusOnExit(QWidget& widget) : widget_(widget) {}
    ~RefocusOnExit() { widget_.setFocus(Qt::OtherFocusReason); }
    RefocusOnExit(const RefocusOnExit&) = delete;
    RefocusOnExit& operator=(const RefocusOnExit&) = delete;

private:
    QWidget& widget_;
};

QPushButton* button(const char* caption, QStyle::StandardPixmap picture, QWidget* parent) {
    auto* b = new QPushButton(parent->style()->standardIcon(picture), QString::fromUtf8(caption), parent);
    b->setAutoDefault(false);
    b->setMinimumHeight(28);
    return b;
}

}  // namespace

TfrmPropertyTabulix::TfrmPropertyTabulix(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Editor de Formulas");
    setFont(DialogFont());
    ShowModal = [](QDialog& dialog) { return dialog.exec(); };

    Tree = new QTreeWidget(this);
    Tree->setObjectName("Tree");
    Tree->setHeaderHidden(true);
    Tree->setRootIsDecorated(false);
    Tree->setItemsExpandable(false);
    Tree->setIndentation(19);
    Tree->setFont(DialogFont());
    Tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Tree->header()->setStretchLastSection(false);
    QPalette colours = Tree->palette();
    colours.setColor(QPalette::Base, QColor(0, 128, 192));
    colours.setColor(QPalette::Text, Qt::yellow);
    Tree->setPalette(colours);
    connect(Tree, &QTreeWidget::itemDoubleClicked, this, [this] { btnModificarClick(); });

    BitBtn2 = button("&Nueva Formula", QStyle::SP_FileIcon, this);
    BitBtn1 = button("&Eliminar Formula", QStyle::SP_TrashIcon, this);
    btnModificar = button("&Modificar Formula", QStyle::SP_FileDialogDetailedView, this);
    Label1 = new QLabel("Doble clic en una formula para modificarla.", this);
    Label1->setStyleSheet("color: #505050;");
    BitBtn3 = button("&Salir", QStyle::SP_DialogCloseButton, this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn1->setObjectName("BitBtn1");
    btnModificar->setObjectName("btnModificar");
    BitBtn3->setObjectName("BitBtn3");
    connect(BitBtn2, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(btnModificar, &QPushButton::clicked, this, [this] { guarded([this] { btnModificarClick(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { accept(); });

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(btnModificar);
    buttons->addSpacing(10);
    buttons->addWidget(Label1, 1);
    buttons->addWidget(BitBtn3);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(Tree, 1);
    layout->addLayout(buttons);
    setMinimumSize(600, 240);
    resize(880, 360);
}

std::string TfrmPropertyTabulix::Formato(const std::string& record) const {
    auto field = [&record](int n) { return TFormulaTabulix::ElementoFormula(record, n); };
    const std::string situation = wordOf(field(6), {"DERECHA", "IZQUIERDA", "ARRIBA", "ABAJO"});
    const std::string alignment = wordOf(field(7), {"IZQUIERDA", "CENTRADO", "DERECHA"});
    const std::int32_t code = framework::StrToInt(field(2));
    std::string function;
    if (code == 4) function = field(8);
    else if (Formulas) function = Formulas->NombreFuncion(code);
    else function = TFormulaTabulix(nullptr).NombreFuncion(code);
    return "[Campo]:" + field(1) + " ## [Formula]:" + function + " ## [Columna]:" + field(3) +
           " ## [Incremento Fila]:" + field(4) + " ## [Texto]:" + field(5) + " ## [Alineacion]:" + alignment +
           " ## [Texto Respecto Formula]:" + situation + " ## ";
}

void TfrmPropertyTabulix::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
    try {
        FormShow();
    } catch (...) {
        // The event loop cannot carry an exception: close, and let the caller raise it.
        fillError_ = std::current_exception();
        QMetaObject::invokeMethod(this, [this] { reject(); }, Qt::QueuedConnection);
    }
}

void TfrmPropertyTabulix::FormShow() {
    Tree->clear();
    for (const std::string& line : list) new QTreeWidgetItem(Tree, QStringList{qt(Formato(line))});
    fitToLines();
    Tree->setFocus(Qt::OtherFocusReason);
}

void TfrmPropertyTabulix::fitToLines() {
    // Wide enough for the longest line as far as the screen allows; past that the tree scrolls
    // sideways, its column always as wide as its longest line.
    Tree->resizeColumnToContents(0);
    const int needed = Tree->columnWidth(0) + 2 * Tree->frameWidth() +
                       Tree->verticalScrollBar()->sizeHint().width() + width() - Tree->width();
    const QScreen* screen = this->screen();
    const int room = screen ? screen->availableGeometry().width() - 40 : needed;
    const int wanted = std::min(needed, room);
    if (wanted > width()) {
        resize(wanted, height());
        CentreOnScreen(*this);
    }
}

void TfrmPropertyTabulix::RethrowFillError() const {
    if (fillError_) std::rethrow_exception(fillError_);
}

std::string TfrmPropertyTabulix::recordOf(const TfrmPropertyTabulixItem& item) {
    const TfrmPropertyTabulixItem::Resultado& r = item.Result();
    return r.campo + ";" + std::to_string(r.formula) + ";" + r.columna + ";" + r.incFila + ";" + r.texto + ";" +
           std::to_string(r.situacion) + ";" + std::to_string(r.alineacion) + ";" + r.formulaPropia;
}

void TfrmPropertyTabulix::BitBtn2Click() {
    RefocusOnExit focusAfterwards(*Tree);
    auto item = newItemDialog();
    if (ShowModal(*item) == QDialog::Rejected) return;
    list.push_back(recordOf(*item));
    new QTreeWidgetItem(Tree, QStringList{qt(Formato(list.back()))});
}

std::unique_ptr<TfrmPropertyTabulixItem> TfrmPropertyTabulix::newItemDialog() const {
    auto item = std::make_unique<TfrmPropertyTabulixItem>();
    item->Campo->clear();
    for (const std::string& name : cb) item->Campo->addItem(qt(name));
    item->CrearComboSegunIdioma();
    return item;
}

int TfrmPropertyTabulix::selectedPosition() const {
    const QTreeWidgetItem* selected = Tree->currentItem();
    if (!selected || !selected->isSelected()) return -1;
    return Tree->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(selected));
}

void TfrmPropertyTabulix::BitBtn1Click() {
    const int k = selectedPosition();
    if (k >= 0) {
        delete Tree->takeTopLevelItem(k);
        list.erase(list.begin() + k);
    }
    Tree->setFocus(Qt::OtherFocusReason);
}

void TfrmPropertyTabulix::btnModificarClick() {
    const int k = selectedPosition();
    if (k < 0) return;
    RefocusOnExit focusAfterwards(*Tree);
    auto item = newItemDialog();

    const std::string& record = list[static_cast<std::size_t>(k)];
    auto field = [&record](int n) { return TFormulaTabulix::ElementoFormula(record, n); };
    item->Campo->setCurrentIndex(item->Campo->findText(qt(field(1))));
    selectIndex(*item->Formula, framework::StrToInt(field(2)));
    item->columna->setCurrentIndex(item->columna->findText(qt(field(3))));
    item->Incrementador->SetPosition(framework::StrToInt(field(4)));
    item->Texto->setText(qt(field(5)));
    selectIndex(*item->Situacion, framework::StrToInt(field(6)));
    selectIndex(*item->Alineacion, framework::StrToInt(field(7)));
    item->FormulaPropia->setText(qt(field(8)));

    if (ShowModal(*item) == QDialog::Rejected) return;
    list[static_cast<std::size_t>(k)] = recordOf(*item);
    Tree->topLevelItem(k)->setText(0, qt(Formato(list[static_cast<std::size_t>(k)])));
}

void TfrmPropertyTabulix::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        // Conversions of a damaged record explain themselves in English; the dialog says what failed.
        framework::CurrentUi().MessageDlg("No se ha podido completar la operaci\xC3\xB3n: " + std::string(e.what()), "",
                                          framework::TMsgDlgType::mtError, framework::mbOKOnly);
    }
}

}  // namespace tabulix::design
