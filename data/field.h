#pragma once
/// @file
/// TField: one column of a data set as the application sees it, with its presentation settings
/// (label, visibility, alignment) and the value it holds in the data set's current record.
///
/// A field belongs to one data set. Fields created before the data set opens are its persistent
/// fields (their settings survive Close/Open); without any, Open creates default fields from the
/// source's columns and Close destroys them. A field reads its value through the data set, which
/// knows the current record; the field converts it to the type its class holds.
///
/// Thread rule: a field belongs to its data set and is used on that data set's thread.

#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/field_type.h"
#include "framework/component.h"
#include "framework/export.h"

namespace tabulix::data {

class TDataSet;
class TObjectField;

/// The horizontal alignment of a field's cells: left, right, centred.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

/// @brief One column of a data set, with its presentation settings (label, visibility,
/// alignment) and the value it holds in the data set's current record; the file comment tells
/// persistent fields from default ones.
/// @threads Used with its data set.
class TABULIX_API TField : public framework::TComponent {
public:
    /// A field whose owner is a data set becomes one of its persistent fields.
    TField(framework::TComponent* owner, TFieldType dataType, TAlignment defaultAlignment);
    ~TField() override;

    std::string ClassName() const override { return "TField"; }
    /// Published: Alignment (when not the class default), DisplayLabel (when set), FieldName,
    /// Visible (when false); subclasses add theirs.
    void DefineProperties(framework::PropertyList& properties) override;

    /// The name of the column the field shows.
    const std::string& FieldName() const { return fieldName_; }
    /// Sets the column the field shows.
    /// @param name the column's name.
    /// @throws EDatabaseError while its data set is open.
    void SetFieldName(const std::string& name);
    /// "PARENT.CHILD" for a field nested in an object field, else FieldName.
    std::string FullName() const;

    /// The label, or FieldName when none is set.
    std::string DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
    /// The label as set: empty when none is.
    const std::string& StoredDisplayLabel() const { return displayLabel_; }
    /// Sets the heading a transfer writes for the field.
    /// @param label the label; empty for the FieldName.
    void SetDisplayLabel(const std::string& label) { displayLabel_ = label; }

    /// Whether the field is transferred.
    bool Visible() const { return visible_; }
    /// Shows or hides the field; a hidden field is not transferred.
    /// @param value false to hide it.
    void SetVisible(bool value) { visible_ = value; }

    /// The alignment of the field's cells.
    TAlignment Alignment() const { return alignment_; }
    /// Sets the alignment of the field's cells.
    /// @param value the alignment.
    void SetAlignment(TAlignment value) { alignment_ = value; }
    /// The class's alignment: right for numeric fields, left for the others.
    TAlignment DefaultAlignment() const { return defaultAlignment_; }

    /// The type of the column the field is bound to (the class's natural type while unbound).
    TFieldType DataType() const { return dataType_; }
    /// The width of a text field, or the decimals of a BCD field.
    int Size() const { return size_; }
    /// Sets the width of a text field, or the decimals of a BCD field.
    /// @param size the size.
    /// @throws EDatabaseError while its data set is open, or for a negative size.
    void SetSize(int size);

    /// The data set the field belongs to, or nullptr.
    TDataSet* DataSet() const { return dataSet_; }
    /// Makes the field a persistent field of `dataSet` (nullptr detaches it). Refused while
    /// either data set is open.
    void SetDataSet(TDataSet* dataSet);
    /// The object field the field is nested in, or nullptr.
    TObjectField* ParentField() const { return parent_; }
    /// Nests the field in an object field (nullptr: top level).
    /// @param parent the object field.
    /// @throws EDatabaseError while the data set is open, or when the field would be nested in
    ///   itself.
    void SetParentField(TObjectField* parent);
    /// Position among the top-level fields of the data set (or among its parent's children),
    /// -1 when the field belongs to no data set.
    int Index() const;

    /// The value in the current record: Null when the field is null or the data set has no
    /// current record; otherwise of the type the class holds. Raises when the data set is closed.
    automation::Variant Value() const;
    /// Whether the value in the current record is null (or there is no current record).
    /// @throws EDatabaseError when the data set is closed.
    bool IsNull() const { return Value().isNull(); }
    /// The value as plain text ("" for null).
    virtual std::string AsString() const;

    /// Whether a field of this class can hold every value of `column` (its type, and for text
    /// its width).
    virtual bool CanHold(const TFieldDef& column) const = 0;

    /// Binding to a source column, done by the data set at Open.
    int FieldNo() const { return fieldNo_; }

protected:
    /// Converts a value of the bound column to the class's own value type.
    virtual automation::Variant Convert(const automation::Variant& raw) const = 0;
    /// Sets the type reported by DataType.
    /// @param type the type.
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
