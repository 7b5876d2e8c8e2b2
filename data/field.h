#pragma once
// TField: one column of a data set as the application sees it, with its presentation settings
// (label, visibility, alignment) and the value it holds in the data set's current record.
//
// A field belongs to one data set. Fields created before the data set opens are its persistent
// fields (their settings survive Close/Open); without any, Open creates default fields from the
// source's columns and Close destroys them. A field reads its value through the data set, which
// knows the current record; the field converts it to the type its class holds.
//
// Thread rule: a field belongs to its data set and is used on that data set's thread.

#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/field_type.h"
#include "framework/component.h"

namespace tabulix::data {

class TDataSet;
class TObjectField;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TField : public framework::TComponent {
public:
    // A field whose owner is a data set becomes one of its persistent fields.
    TField(framework::TComponent* owner, TFieldType dataType, TAlignment defaultAlignment);
    ~TField() override;

    std::string ClassName() const override { return "TField"; }
    // Published: Alignment (when not the class default), DisplayLabel (when set), FieldName,
    // Visible (when false); subclasses add theirs.
    void DefineProperties(framework::PropertyList& properties) override;

    const std::string& FieldName() const { return fieldName_; }
    void SetFieldName(const std::string& name);
    // "PARENT.CHILD" for a field nested in an object field, else FieldName.
    std::string FullName() const;

    // The label, or FieldName when none is set.
    std::string DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
    const std::string& StoredDisplayLabel() const { return displayLabel_; }
    void SetDisplayLabel(const std::string& label) { displayLabel_ = label; }

    bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { alignment_ = value; }
    TAlignment DefaultAlignment() const { return defaultAlignment_; }

    // The type of the column the field is bound to (the class's natural type while unbound).
    TFieldType DataType() const { return dataType_; }
    int Size() const { return size_; }
    void SetSize(int size);

    TDataSet* DataSet() const { return dataSet_; }
    // Makes the field a persistent field of `dataSet` (nullptr detaches it). Refused while
    // either data set is open.
    void SetDataSet(TDataSet* dataSet);
    TObjectField* ParentField() const { return parent_; }
    void SetParentField(TObjectField* parent);
    // Position among the top-level fields of the data set (or among its parent's children),
    // -1 when the field belongs to no data set.
    int Index() const;

    // The value in the current record: Null when the field is null or the data set has no
    // current record; otherwise of the type the class holds. Raises when the data set is closed.
    automation::Variant Value() const;
    bool IsNull() const { return Value().isNull(); }
    // The value as plain text ("" for null).
    virtual std::string AsString() const;

    // Whether a field of this class can hold every value of `column` (its type, and for text
    // its width).
    virtual bool CanHold(const TFieldDef& column) const = 0;

    // Binding to a source column, done by the data set at Open.
    int FieldNo() const { return fieldNo_; }

protected:
    // Converts a value of the bound column to the class's own value type.
    virtual automation::Variant Convert(const automation::Variant& raw) const = 0;
    void SetDataTypeValue(TFieldType type) { dataType_ = type; }

private:
    friend class TDataSet;
    friend class TObjectField;
    void bind(int fieldNo, TFieldType columnType);
    void unbind();
    [[noreturn]] void conversionFailed(const automation::Variant& raw, const std::exception& error) const;

    std::string fieldName_;
    std::string displayLabel_;
    bool visible_ = true;
    TAlignment alignment_;
    TAlignment defaultAlignment_;
    TFieldType dataType_;
    TFieldType naturalType_;
    int size_ = 0;
    TDataSet* dataSet_ = nullptr;
    TObjectField* parent_ = nullptr;
    int fieldNo_ = -1;
};

}  // namespace tabulix::data
