// The controls of TForm1 and their layout: two pages with their tabs at the bottom, each a
// column of panels, each panel a heading over a grid of bold, right-justified labels and their
// controls.

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "demo/demo_window.h"
#include "demo/font_choice.h"

namespace tabulix::demo {

namespace {

const char* const kWindowFace = "Tahoma";
constexpr int kWindowPixels = 13;
constexpr int kHeadingPixels = 19;

QFrame* newPanel(const char* name, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    return panel;
}

QLabel* newHeading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(WidgetFont(kWindowFace, kHeadingPixels, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    return label;
}

QLabel* newFieldLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, buddy->parentWidget());
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(buddy);
    return label;
}

QPushButton* newButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* newCheckBox(const char* name, const QString& caption, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

QLineEdit* newEdit(const char* name, const QString& text, QWidget* parent, bool readOnly = false) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    return edit;
}

QComboBox* newDropDown(const char* name, const QStringList& entries, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(false);
    box->addItems(entries);
    return box;
}

// A labelled control in columns column and column + 1 of `grid`.
void addField(QGridLayout* grid, int row, int column, const QString& label, QWidget* control, int span = 1) {
    grid->addWidget(newFieldLabel(label, control), row, column);
    grid->addWidget(control, row, column + 1, 1, span);
}

QVBoxLayout* panelLayout(QFrame* panel) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(10, 6, 10, 10);
    layout->setSpacing(6);
    return layout;
}

QGridLayout* newGrid() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);
    return grid;
}

}  // namespace

void TForm1::buildWindow() {
    setObjectName("Form1");
    setWindowTitle("Demo de TTabulix");
    setFont(WidgetFont(kWindowFace, kWindowPixels));

    fontDialog_ = new QFontDialog(this);
    fontDialog_->setObjectName("FDial");
    colorDialog_ = new QColorDialog(this);
    colorDialog_->setObjectName("CDial");

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setTabPosition(QTabWidget::South);
    PageControl1->addTab(buildTransferPage(), "Traspasar Autom\u00e1tico");
    PageControl1->addTab(buildManualPage(), "Acciones Manuales");
    PageControl1->setCurrentIndex(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(PageControl1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TForm1::buildTransferPage() {
    auto* page = new QWidget;
    page->setObjectName("TabSheet1");
    Panel1 = buildPanel1();
    Panel4 = buildPanel4();
    Panel2 = buildPanel2();
    for (QFrame* panel : {Panel1, Panel4, Panel2}) panel->setParent(page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Panel1);
    layout->addWidget(Panel4);
    layout->addWidget(Panel2);
    layout->addStretch();
    return page;
}

QWidget* TForm1::buildManualPage() {
    auto* page = new QWidget;
    page->setObjectName("TabSheet2");
    Panel3 = buildPanel3();
    Panel5 = buildPanel5();
    for (QFrame* panel : {Panel3, Panel5}) panel->setParent(page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Panel3);
    layout->addWidget(Panel5);
    layout->addStretch();
    return page;
}

QFrame* TForm1::buildPanel1() {
    QFrame* panel = newPanel("Panel1", this);
    QVBoxLayout* layout = panelLayout(panel);
    layout->addWidget(newHeading("Traspasar datos de un TDataSet a Excel.", panel));

    Button1 = newButton("Button1", "TRASPASAR INFORMACI\u00d3N DEL DATASET A EXCEL EN UN NUEVO LIBRO", panel);
    Button1->setProperty("tag", 0);
    Button9 = newButton("Button9", "TRASPASAR INFORMACI\u00d3N DEL DATASET A EXCEL EN UNA NUEVA HOJA", panel);
    Button9->setProperty("tag", 1);
    auto* transfers = new QHBoxLayout;
    transfers->addWidget(Button1);
    transfers->addWidget(Button9);
    layout->addLayout(transfers);

    CheckBox1 = newCheckBox("CheckBox1", "Auto ajustar columnas de datos", true, panel);
    CheckBox2 = newCheckBox("CheckBox2", "Auto ajustar formulas", true, panel);
    CheckBox6 = newCheckBox("CheckBox6", "Auto ajustar texto de formulas", false, panel);
    CheckBox3 = newCheckBox("CheckBox3", "Mostrar Cabecera de Columna", true, panel);
    CheckBox4 = newCheckBox("CheckBox4", "T\u00edtulo Combinar y Centrar", true, panel);
    CheckBox5 = newCheckBox("CheckBox5", "Ver Construcci\u00f3n", true, panel);
    auto* checks = newGrid();
    QCheckBox* const order[] = {CheckBox1, CheckBox2, CheckBox6, CheckBox3, CheckBox4, CheckBox5};
    for (int i = 0; i < 6; ++i) checks->addWidget(order[i], i % 3, i / 3);
    layout->addLayout(checks);

    Edit1 = newEdit("Edit1", "1", panel);
    Edit2 = newEdit("Edit2", "Ejemplo", panel);
    Edit3 = newEdit("Edit3", "DATOS VENTAS", panel);
    Edit4 = newEdit("Edit4", "", panel);
    Button2 = newButton("Button2", "MOSTRAR EXCEL", panel);
    Button18 = newButton("Button18", "OCULTAR EXCEL", panel);
    auto* fields = newGrid();
    addField(fields, 0, 0, "Fila Inicial:", Edit1);
    addField(fields, 0, 2, "Nombre Hoja:", Edit2);
    addField(fields, 1, 0, "T\u00edtulo:", Edit3);
    addField(fields, 1, 2, "CurrencyString:", Edit4);
    fields->addWidget(Button2, 0, 4);
    fields->addWidget(Button18, 1, 4);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    layout->addLayout(fields);
    return panel;
}

QFrame* TForm1::buildPanel4() {
    QFrame* panel = newPanel("Panel4", this);
    QVBoxLayout* layout = panelLayout(panel);
    layout->addWidget(newHeading("Crear Gr\u00e1fica de la hoja de datos del TDataSet", panel));

    Edit21 = newEdit("Edit21", "Grafica", panel);
    Edit17 = newEdit("Edit17", "Titulo grafica", panel);
    Edit18 = newEdit("Edit18", "Eje Categoria.", panel);
    Edit19 = newEdit("Edit19", "Eje Valores", panel);
    Edit20 = newEdit("Edit20", "Eje extra 3d", panel);
    ComboBox3 = newDropDown("ComboBox3",
                            {"xlColumn", "xl3DColumn", "xlLine", "xl3DLine", "xlBar", "xl3DBar", "xlSurface",
                             "xl3DSurface", "xlPie", "xl3DPie", "xlArea", "xl3DArea", "xlRadar"},
                            panel);
    ComboBox4 = newDropDown("ComboBox4", {"xlEnFila", "xlEnColumna"}, panel);
    Edit22 = newEdit("Edit22", "1", panel);
    Edit23 = newEdit("Edit23", "1", panel);
    CheckBox8 = newCheckBox("CheckBox8", "Visualizar Leyenda", true, panel);
    Button8 = newButton("Button8", "CREAR GR\u00c1FICO DEL TDATASET SEGUN FORMATO", panel);

    auto* grid = newGrid();
    addField(grid, 0, 0, "Nombre Hoja:", Edit21);
    addField(grid, 1, 0, "T\u00edtulo Gr\u00e1fica:", Edit17);
    addField(grid, 2, 0, "T\u00edtulo Eje Categoria:", Edit18);
    addField(grid, 3, 0, "T\u00edtulo Eje Valores:", Edit19);
    addField(grid, 4, 0, "T\u00edtulo Eje Extra 3D:", Edit20);
    addField(grid, 0, 2, "Tipo Gr\u00e1fico:", ComboBox3);
    addField(grid, 1, 2, "Situaci\u00f3n Datos:", ComboBox4);
    addField(grid, 2, 2, "Fila/Columna Literal Categorias:", Edit22);
    addField(grid, 3, 2, "Fila/Columna Literal Series:", Edit23);
    grid->addWidget(CheckBox8, 4, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);
    layout->addWidget(Button8);
    return panel;
}

QFrame* TForm1::buildPanel2() {
    QFrame* panel = newPanel("Panel2", this);
    QVBoxLayout* layout = panelLayout(panel);
    layout->addWidget(newHeading("Valores despu\u00e9s del traspaso.", panel));

    Edit5 = newEdit("Edit5", "", panel, true);
    Edit6 = newEdit("Edit6", "", panel, true);
    ComboBox1 = newDropDown("ComboBox1", {}, panel);
    Edit7 = newEdit("Edit7", "", panel, true);
    ComboBox2 = newDropDown("ComboBox2", {}, panel);
    Edit8 = newEdit("Edit8", "", panel, true);
    for (QComboBox* box : {ComboBox1, ComboBox2}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(36);
    }

    auto* grid = newGrid();
    addField(grid, 0, 0, "Primera Fila Datos TDataSet:", Edit5);
    addField(grid, 0, 2, "\u00daltimaFila Datos TDataSet:", Edit6);
    addField(grid, 1, 0, "Casilla que ocupa la formula:", ComboBox1);
    addField(grid, 1, 2, "-->", Edit7);
    addField(grid, 2, 0, "Rango que ocupa el TField:", ComboBox2);
    addField(grid, 2, 2, "-->", Edit8);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);
    return panel;
}

QFrame* TForm1::buildPanel3() {
    QFrame* panel = newPanel("Panel3", this);
    QVBoxLayout* layout = panelLayout(panel);

    Button10 = newButton("Button10", "ACTIVAR EXCEL", panel);
    QPalette red = Button10->palette();
    red.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    Button10->setPalette(red);
    Button16 = newButton("Button16", "CREAR UN LIBRO MANUALMENTE", panel);
    Button3 = newButton("Button3", "CREAR UNA HOJA MANUALMENTE", panel);
    Button4 = newButton("Button4", "MOSTRAR EXCEL", panel);
    Button17 = newButton("Button17", "OCULTAR EXCEL", panel);
    auto* connection = new QHBoxLayout;
    for (QPushButton* button : {Button10, Button16, Button3, Button4, Button17}) connection->addWidget(button);
    layout->addLayout(connection);

    f1 = new QRadioButton("Formato 1", panel);
    f1->setObjectName("f1");
    f2 = new QRadioButton("Formato 2", panel);
    f2->setObjectName("f2");
    f3 = new QRadioButton("Formato 3", panel);
    f3->setObjectName("f3");
    auto* forms = new QButtonGroup(panel);
    for (QRadioButton* radio : {f1, f2, f3}) forms->addButton(radio);
    Edit9 = newEdit("Edit9", "1", panel);
    Edit10 = newEdit("Edit10", "1", panel);
    Edit11 = newEdit("Edit11", "A", panel);
    Edit12 = newEdit("Edit12", "1", panel);
    Edit13 = newEdit("Edit13", "A1", panel);
    auto* address = newGrid();
    address->addWidget(f1, 0, 0, 1, 2);
    address->addWidget(f2, 0, 2, 1, 2);
    address->addWidget(f3, 0, 4, 1, 2);
    addField(address, 1, 0, "N\u00ba Columna (ej. 1):", Edit9);
    addField(address, 2, 0, "N\u00ba Fila (ej. 1):", Edit10);
    addField(address, 1, 2, "Letra Columna (ej. A):", Edit11);
    addField(address, 2, 2, "N\u00ba Fila (ej. 1):", Edit12);
    addField(address, 1, 4, "Casilla (ej. A1):", Edit13);
    for (int column : {1, 3, 5}) address->setColumnStretch(column, 1);
    layout->addLayout(address);

    Edit14 = newEdit("Edit14", "", panel);
    Button6 = newButton("Button6", "TRASPASAR EL VALOR Y FORMATO A CASILLA INDICADA", panel);
    Formula = newEdit("Formula", "", panel);
    Button19 = newButton("Button19", "TRASPASAR LA FORMULA Y FORMATO A CASILLA INDICADA", panel);
    auto* writes = newGrid();
    addField(writes, 0, 0, "Valor a Transferir a Excel:", Edit14);
    writes->addWidget(Button6, 0, 2);
    addField(writes, 1, 0, "Formula a Transferir a Excel:", Formula);
    writes->addWidget(Button19, 1, 2);
    writes->setColumnStretch(1, 1);
    layout->addLayout(writes);

    layout->addWidget(newHeading("Formato:", panel));
    Button5 = newButton("Button5", "Asignar Fuente", panel);
    CheckBox7 = newCheckBox("CheckBox7", "Activar Color de Fondo", false, panel);
    Button7 = newButton("Button7", "Color de Fondo", panel);
    auto* format = new QHBoxLayout;
    format->addWidget(Button5);
    format->addSpacing(16);
    format->addWidget(CheckBox7);
    format->addWidget(Button7);
    format->addStretch();
    layout->addLayout(format);
    return panel;
}

QFrame* TForm1::buildPanel5() {
    QFrame* panel = newPanel("Panel5", this);
    QVBoxLayout* layout = panelLayout(panel);
    layout->addWidget(newHeading("Control de libros y hojas.", panel));

    Libros = newDropDown("Libros", {}, panel);
    Button12 = newButton("Button12", "ACTUALIZAR", panel);
    Button13 = newButton("Button13", "ACTIVAR", panel);
    Hojas = newDropDown("Hojas", {}, panel);
    Button14 = newButton("Button14", "ACTUALIZAR", panel);
    Button15 = newButton("Button15", "ACTIVAR", panel);
    auto* grid = newGrid();
    addField(grid, 0, 0, "Libros:", Libros);
    grid->addWidget(Button12, 0, 2);
    grid->addWidget(Button13, 0, 3);
    addField(grid, 1, 0, "Hojas Libro Activo:", Hojas);
    grid->addWidget(Button14, 1, 2);
    grid->addWidget(Button15, 1, 3);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    return panel;
}

}  // namespace tabulix::demo
