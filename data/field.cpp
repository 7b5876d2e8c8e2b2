#include "data/field.h"

#include <algorithm>

#include "data/data_set.h"
#include "data/field_classes.h"
#include "data/shown_text.h"
#include "framework/property_list.h"

namespace tabulix::data {

TField::TField(framework::TComponent* owner, TFieldType dataType, TAlignment defaultAlignment)
    : TComponent(owner),
      alignment_(defaultAlignment),
      defaultAlignment_(defaultAlignment),
      dataType_(dataType),
      naturalType_(dataType) {
    if (auto* dataSet = dynamic_cast<TDataSet*>(owner)) SetDataSet(dataSet);
}

TField::~TField() {
    if (parent_) std::erase(parent_->children_, this);
    if (dataSet_) dataSet_->removePersistent(this);
}

void TField::SetFieldName(const std::string& name) {
    if (dataSet_) dataSet_->checkInactive("rename field '" + shown(fieldName_) + "'");
    fieldName_ = name;
}

void TField::DefineProperties(framework::PropertyList& p) {
    TComponent::DefineProperties(p);
    p.Enumeration("Alignment", alignment_, {"taLeftJustify", "taRightJustify", "taCenter"}).Default(defaultAlignment_);
    p.Text("DisplayLabel", displayLabel_);
    p.Text("FieldName", [this] { return fieldName_; }, [this](std::string v) { SetFieldName(v); });
    p.Boolean("Visible", visible_).Default(true);
}

std::string TField::FullName() const { return parent_ ? parent_->FullName() + "." + fieldName_ : fieldName_; }

void TField::SetSize(int size) {
    if (dataSet_) dataSet_->checkInactive("change the size of field '" + shown(fieldName_) + "'");
    if (size < 0) throw EDatabaseError("Invalid size " + std::to_string(size) + " for field '" + shown(fieldName_) + "'");
    size_ = size;
}

void TField::SetDataSet(TDataSet* dataSet) {
    if (dataSet == dataSet_) return;
    if (dataSet_) dataSet_->checkInactive("remove field '" + shown(fieldName_) + "'");
    if (dataSet) dataSet->checkInactive("add field '" + shown(fieldName_) + "'");
    if (parent_ && parent_->DataSet() != dataSet) SetParentField(nullptr);
    if (dataSet_) dataSet_->removePersistent(this);
    dataSet_ = dataSet;
    if (dataSet_) dataSet_->addPersistent(this);
    if (auto* object = dynamic_cast<TObjectField*>(this))
        for (TField* child : std::vector<TField*>(object->children_)) child->SetDataSet(dataSet);
}

void TField::SetParentField(TObjectField* parent) {
    if (parent == parent_) return;
    for (const TField* p = parent; p; p = p->parent_)
        if (p == this) throw EDatabaseError("Field '" + shown(fieldName_) + "' cannot be nested in itself");
    if (dataSet_) dataSet_->checkInactive("move field '" + shown(fieldName_) + "'");
    if (parent_) std::erase(parent_->children_, this);
    parent_ = parent;
    if (parent_) {
        parent_->children_.push_back(this);
        if (parent_->DataSet() != dataSet_) {
            if (dataSet_) dataSet_->removePersistent(this);
            dataSet_ = parent_->DataSet();
            if (dataSet_) dataSet_->addPersistent(this);
            return;
        }
    }
    if (dataSet_) dataSet_->rebuildFieldLists();
}

int TField::Index() const {
    const std::vector<TField*>* siblings = nullptr;
    if (parent_)
        siblings = &parent_->children_;
    else if (dataSet_)
        siblings = &dataSet_->fields_.fields_;
    if (!siblings) return -1;
    const auto it = std::find(siblings->begin(), siblings->end(), this);
    return it == siblings->end() ? -1 : static_cast<int>(it - siblings->begin());
}

automation::Variant TField::Value() const {
    if (!dataSet_) throw EDatabaseError("Field '" + shown(FullName()) + "' has no data set");
    if (!dataSet_->Active())
        throw EDatabaseError("Cannot read field '" + shown(FullName()) + "': data set " + dataSet_->DisplayName() +
                             " is closed");
    if (fieldNo_ < 0) return automation::Variant::null();
    const automation::Variant raw = dataSet_->ColumnValue(fieldNo_);
    if (raw.isNull()) return raw;
    try {
        return Convert(raw);
    } catch (const EDatabaseError&) {
        throw;
    } catch (const std::exception& error) {
        conversionFailed(raw, error);
    }
}

void TField::conversionFailed(const automation::Variant& raw, const std::exception& error) const {
    throw EDatabaseError("Field '" + shown(FullName()) + "' (" + ClassName() + ") of data set " +
                         (dataSet_ ? dataSet_->DisplayName() : std::string("?")) + " cannot hold the value " +
                         raw.describe() + ": " + error.what());
}

std::string TField::AsString() const {
    const automation::Variant value = Value();
    return value.isNull() ? std::string() : value.toText();
}

void TField::bind(int fieldNo, TFieldType columnType) {
    fieldNo_ = fieldNo;
    dataType_ = columnType;
}

void TField::unbind() {
    fieldNo_ = -1;
    dataType_ = naturalType_;
}

}  // namespace tabulix::data
