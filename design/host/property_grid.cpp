#include "design/host/property_grid.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <charconv>

#include "design/host/designer_host.h"
#include "design/host/form_document.h"
#include "framework/color.h"
#include "framework/font.h"
#include "framework/string_list.h"
#include "framework/text_compare.h"

namespace tabulix::design {

using framework::FormValue;
using framework::Property;
using framework::PropertyKind;

namespace {

constexpr int kPathRole = Qt::UserRole;

QString qt(const std::string& text) { return QString::fromStdString(text); }
std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

QString display(const FormValue& value) {
    switch (value.type) {
        case FormValue::Type::Integer: return QString::number(value.integer);
        case FormValue::Type::Float: return QString::number(value.number, 'g', 15);
        case FormValue::Type::String:
        case FormValue::Type::Identifier: return qt(value.text);
        case FormValue::Type::Set: {
            QStringList names;
            for (const std::string& n : value.items) names << qt(n);
            return "[" + names.join(", ") + "]";
        }
        case FormValue::Type::List: return "(TStringList)";
    }
    return {};
}

// A number typed into an integer row, or the name of one of its values.
FormValue integerValue(const QString& typed) {
    const std::string text = utf8(typed.trimmed());
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc() && end == text.data() + text.size()) return FormValue::Int(number);
    return FormValue::Ident(text);
}

framework::TColor colorOf(const FormValue& value) {
    if (value.type == FormValue::Type::Identifier) return framework::IdentToColor(value.text).value_or(framework::clNone);
    return static_cast<framework::TColor>(value.integer);
}

// A colour's swatch for its drop-down entry; system colours have none.
QIcon swatch(framework::TColor color) {
    QPixmap picture(12, 12);
    picture.fill(Qt::transparent);
    if (!framework::IsSystemColor(color) && color != framework::clNone && color != framework::clDefault) {
        QPainter painter(&picture);
        painter.setPen(Qt::black);
        painter.setBrush(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
        painter.drawRect(0, 0, 11, 11);
    }
    return QIcon(picture);
}

QWidget* withEllipsis(QWidget* editor, const std::function<void()>& click) {
    auto* frame = new QWidget;
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(editor, 1);
    auto* button = new QToolButton(frame);
    button->setObjectName("ellipsis");
    button->setText("...");
    button->setFixedWidth(22);
    QObject::connect(button, &QToolButton::clicked, frame, click);
    layout->addWidget(button);
    return frame;
}

QLineEdit* readOnlyText(const QString& text) {
    auto* edit = new QLineEdit(text);
    edit->setReadOnly(true);
    edit->setFrame(false);
    return edit;
}

QLineEdit* textEditor() {
    auto* edit = new QLineEdit;
    edit->setFrame(false);
    return edit;
}

QComboBox* choiceEditor(const std::vector<std::string>& choices) {
    auto* list = new QComboBox;
    for (const std::string& c : choices) list->addItem(qt(c));
    return list;
}

bool isIdentifier(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

void assignFont(framework::TFont& target, const QFont& chosen) {
    target.SetName(utf8(chosen.family()));
    if (chosen.pixelSize() > 0) target.SetHeight(-chosen.pixelSize());
    else target.SetSize(static_cast<int>(chosen.pointSizeF() + 0.5));
    framework::TFontStyles style;
    if (chosen.bold()) style.Include(framework::fsBold);
    if (chosen.italic()) style.Include(framework::fsItalic);
    if (chosen.underline()) style.Include(framework::fsUnderline);
    if (chosen.strikeOut()) style.Include(framework::fsStrikeOut);
    target.SetStyle(style);
}

QFont qtFont(const framework::TFont& font) {
    QFont q(qt(font.Name()));
    q.setPointSize(std::max(1, font.Size()));
    q.setBold(font.Style().Contains(framework::fsBold));
    q.setItalic(font.Style().Contains(framework::fsItalic));
    q.setUnderline(font.Style().Contains(framework::fsUnderline));
    q.setStrikeOut(font.Style().Contains(framework::fsStrikeOut));
    return q;
}

}  // namespace

ObjectInspector::ObjectInspector(DesignerHost& host, QWidget* parent) : QTreeWidget(parent), host_(host) {
    setColumnCount(2);
    setHeaderLabels({"Property", "Value"});
    header()->setSectionResizeMode(0, QHeaderView::Interactive);
    header()->resizeSection(0, 250);
    header()->setStretchLastSection(true);
    setAlternatingRowColors(true);
    setIndentation(12);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

ObjectInspector::~ObjectInspector() = default;

void ObjectInspector::Inspect(framework::TComponent* component, framework::TComponent* root) {
    ++generation_;  // handlers of the rows being removed do nothing any more
    refreshers_.clear();
    clear();
    editors_.clear();
    component_ = component;
    root_ = root;
    if (!component_) return;
    addNameRow();
    addProperties(nullptr, *component_, {});
    Refresh();
}

void ObjectInspector::Refresh() {
    for (const auto& refresh : refreshers_) refresh();
}

QTreeWidgetItem* ObjectInspector::newRow(QTreeWidgetItem* parent, const QString& name, const QString& path) {
    auto* row = parent ? new QTreeWidgetItem(parent, QStringList{name}) : new QTreeWidgetItem(this, QStringList{name});
    row->setData(0, kPathRole, path);
    return row;
}

QTreeWidgetItem* ObjectInspector::Row(const QString& path) const {
    QList<QTreeWidgetItem*> pending;
    for (int i = 0; i < topLevelItemCount(); ++i) pending << topLevelItem(i);
    while (!pending.isEmpty()) {
        QTreeWidgetItem* row = pending.takeFirst();
        if (row->data(0, kPathRole).toString().compare(path, Qt::CaseInsensitive) == 0) return row;
        for (int i = 0; i < row->childCount(); ++i) pending << row->child(i);
    }
    return nullptr;
}

QWidget* ObjectInspector::Editor(const QString& path) const {
    QTreeWidgetItem* row = Row(path);
    return row ? itemWidget(row, 1) : nullptr;
}

void ObjectInspector::apply(const std::function<void()>& change) {
    try {
        change();
        if (OnChanged) OnChanged();
    } catch (const std::exception& e) {
        host_.ErrorBox(e.what());
    }
    Refresh();
}

void ObjectInspector::addNameRow() {
    QTreeWidgetItem* row = newRow(nullptr, "Name", "Name");
    QLineEdit* edit = textEditor();
    setItemWidget(row, 1, edit);
    framework::TComponent* component = component_;
    refreshers_.push_back([edit, component] { edit->setText(qt(component->Name())); });
    const int generation = generation_;
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, component, generation] {
        if (generation != generation_) return;
        const std::string name = utf8(edit->text().trimmed());
        if (name == component->Name()) return;
        apply([&] {
            if (!isIdentifier(name)) throw std::invalid_argument("'" + name + "' is not a valid component name");
            for (const framework::TComponent* other : ComponentsOf(*root_))
                if (other != component && framework::sameText(other->Name(), name))
                    throw std::invalid_argument("a component named '" + name + "' already exists");
            component->SetName(name);
        });
        if (OnRenamed) OnRenamed();
    });
}

void ObjectInspector::addProperties(QTreeWidgetItem* parent, framework::TPersistent& object, const QString& path) {
    const framework::PropertyList properties = framework::PropertyList::Of(object);
    for (const Property& property : properties.Items()) {
        const QString name = qt(property.Name());
        addRow(parent, object, property, path.isEmpty() ? name : path + "." + name);
    }
}

void ObjectInspector::addRow(QTreeWidgetItem* parent, framework::TPersistent& object, const Property& property,
                             const QString& path) {
    QTreeWidgetItem* row = newRow(parent, qt(property.Name()), path);
    const int generation = generation_;
    // Bold when the form file would store the value.
    refreshers_.push_back([row, property] {
        QFont font = row->font(0);
        font.setBold(property.IsStored());
        row->setFont(0, font);
    });
    auto live = [this, generation] { return generation == generation_; };

    if (auto* component = dynamic_cast<framework::TComponent*>(&object)) {
        if (std::unique_ptr<TPropertyEditor> editor = host_.EditorFor(*component, property)) {
            TPropertyEditor* e = editor.get();
            editors_.push_back(std::move(editor));
            QLineEdit* value = readOnlyText(qt(e->GetValue()));
            value->setReadOnly(e->GetAttributes().Contains(paReadOnly));
            QWidget* cell = value;
            if (e->GetAttributes().Contains(paDialog))
                cell = withEllipsis(value, [this, e, live] {
                    if (!live()) return;
                    try {
                        e->Edit();
                    } catch (const std::exception& error) {
                        host_.ErrorBox(error.what());
                    }
                    Refresh();
                });
            setItemWidget(row, 1, cell);
            refreshers_.push_back([value, e] { value->setText(qt(e->GetValue())); });
            return;
        }
    }

    switch (property.Kind()) {
        case PropertyKind::Text:
        case PropertyKind::Integer:
        case PropertyKind::Float: {
            QLineEdit* edit = textEditor();
            setItemWidget(row, 1, edit);
            refreshers_.push_back([edit, property] { edit->setText(display(property.Get())); });
            connect(edit, &QLineEdit::editingFinished, this, [this, edit, property, live] {
                if (!live() || edit->text() == display(property.Get())) return;
                apply([&] {
                    if (property.Kind() == PropertyKind::Text) property.Set(FormValue::Str(utf8(edit->text())));
                    else if (property.Kind() == PropertyKind::Integer) property.Set(integerValue(edit->text()));
                    else {
                        bool ok = false;
                        const double number = edit->text().toDouble(&ok);
                        if (!ok) throw std::invalid_argument("'" + utf8(edit->text()) + "' is not a number");
                        property.Set(FormValue::Real(number));
                    }
                });
            });
            break;
        }
        case PropertyKind::Boolean:
        case PropertyKind::Enumeration: {
            const std::vector<std::string> choices =
                property.Kind() == PropertyKind::Boolean ? std::vector<std::string>{"False", "True"} : property.Members();
            QComboBox* list = choiceEditor(choices);
            setItemWidget(row, 1, list);
            refreshers_.push_back([list, property] {
                QSignalBlocker quiet(list);
                list->setCurrentIndex(list->findText(display(property.Get())));
            });
            connect(list, &QComboBox::activated, this, [this, list, property, live] {
                if (live()) apply([&] { property.Set(FormValue::Ident(utf8(list->currentText()))); });
            });
            break;
        }
        case PropertyKind::Set: {
            QLineEdit* value = readOnlyText({});
            setItemWidget(row, 1, value);
            refreshers_.push_back([value, property] { value->setText(display(property.Get())); });
            for (const std::string& member : property.Members()) {
                QTreeWidgetItem* memberRow = newRow(row, qt(member), path + "." + qt(member));
                QComboBox* list = choiceEditor({"False", "True"});
                setItemWidget(memberRow, 1, list);
                refreshers_.push_back([list, property, member] {
                    const auto& items = property.Get().items;
                    QSignalBlocker quiet(list);
                    list->setCurrentIndex(std::find(items.begin(), items.end(), member) != items.end() ? 1 : 0);
                });
                connect(list, &QComboBox::activated, this, [this, list, property, member, live] {
                    if (!live()) return;
                    apply([&] {
                        std::vector<std::string> members;
                        for (const std::string& m : property.Members()) {
                            const auto& items = property.Get().items;
                            const bool in = m == member ? list->currentIndex() == 1
                                                        : std::find(items.begin(), items.end(), m) != items.end();
                            if (in) members.push_back(m);
                        }
                        property.Set(FormValue::SetOfNames(members));
                    });
                });
            }
            break;
        }
        case PropertyKind::Color: {
            auto* list = new QComboBox;
            list->setEditable(true);
            list->setInsertPolicy(QComboBox::NoInsert);
            for (const framework::IdentEntry& entry : framework::ColorIdents())
                list->addItem(swatch(static_cast<framework::TColor>(entry.value)), qt(std::string(entry.name)));
            setItemWidget(row, 1, withEllipsis(list, [this, property, live] {
                if (!live()) return;
                const framework::TColor color = colorOf(property.Get());
                const QColor chosen = QColorDialog::getColor(
                    framework::IsSystemColor(color) ? QColor(Qt::white)
                                                    : QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF),
                    this, "Color");
                if (!chosen.isValid()) return;
                apply([&] { property.Set(FormValue::Int(framework::RGB(chosen.red(), chosen.green(), chosen.blue()))); });
            }));
            refreshers_.push_back([list, property] {
                QSignalBlocker quiet(list);
                list->setEditText(display(property.Get()));
            });
            auto commit = [this, list, property, live] {
                if (!live() || list->currentText() == display(property.Get())) return;
                apply([&] {
                    const std::string typed = utf8(list->currentText().trimmed());
                    if (framework::IdentToColor(typed)) property.Set(FormValue::Ident(typed));
                    else property.Set(FormValue::Int(framework::StringToColor(typed)));
                });
            };
            connect(list, &QComboBox::activated, this, commit);
            connect(list->lineEdit(), &QLineEdit::editingFinished, this, commit);
            break;
        }
        case PropertyKind::Object: {
            framework::TPersistent* sub = property.Object();
            if (!sub) {
                setItemWidget(row, 1, readOnlyText("(nil)"));
                break;
            }
            QLineEdit* value = readOnlyText("(" + qt(sub->ClassName()) + ")");
            if (auto* font = dynamic_cast<framework::TFont*>(sub)) {
                setItemWidget(row, 1, withEllipsis(value, [this, font, live] {
                    if (!live()) return;
                    bool ok = false;
                    const QFont chosen = QFontDialog::getFont(&ok, qtFont(*font), this, "Fuente");
                    if (ok) apply([&] { assignFont(*font, chosen); });
                }));
            } else {
                setItemWidget(row, 1, value);
            }
            addProperties(row, *sub, path);
            break;
        }
        case PropertyKind::StringList: {
            framework::TStringList* list = property.List();
            QLineEdit* value = readOnlyText("(" + qt(list ? list->ClassName() : std::string("nil")) + ")");
            setItemWidget(row, 1, list ? withEllipsis(value, [this, list, path, live] {
                if (live()) editStringList(*list, path);
            }) : static_cast<QWidget*>(value));
            break;
        }
        case PropertyKind::Reference: {
            QComboBox* list = choiceEditor({""});
            std::vector<framework::TComponent*> candidates{nullptr};
            for (framework::TComponent* c : ComponentsOf(*root_))
                if (c != component_ && property.Accepts(c) && !c->Name().empty()) {
                    list->addItem(qt(c->Name()));
                    candidates.push_back(c);
                }
            setItemWidget(row, 1, list);
            refreshers_.push_back([list, property] {
                QSignalBlocker quiet(list);
                const framework::TComponent* c = property.Referenced();
                list->setCurrentIndex(c ? list->findText(qt(c->Name())) : 0);
            });
            connect(list, &QComboBox::activated, this, [this, list, property, candidates, live] {
                if (!live()) return;
                framework::TComponent* chosen = candidates[static_cast<std::size_t>(list->currentIndex())];
                if (chosen != property.Referenced()) apply([&] { property.SetReferenced(chosen); });
            });
            break;
        }
    }
}

void ObjectInspector::editStringList(framework::TStringList& list, const QString& title) {
    QDialog dialog(this);
    dialog.setWindowTitle("String List Editor - " + title);
    auto* text = new QPlainTextEdit(&dialog);
    text->setObjectName("lines");
    QStringList lines;
    for (const std::string& line : list.Lines()) lines << qt(line);
    text->setPlainText(lines.join('\n'));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    dialog.resize(460, 300);
    if (host_.ShowModal(dialog) != QDialog::Accepted) return;
    apply([&] { list.SetText(utf8(text->toPlainText())); });
}

}  // namespace tabulix::design
