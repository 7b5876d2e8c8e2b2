#pragma once
/// @file
/// The field classes, by the kind of value they hold. Default alignment: numeric fields are
/// right-justified, every other field left-justified.
///
///   TStringField -> TWideStringField, TGuidField
///   TNumericField -> TIntegerField -> TSmallintField, TWordField, TAutoIncField
///                 -> TLargeintField
///                 -> TFloatField -> TCurrencyField
///                 -> TBCDField
///   TBooleanField
///   TDateTimeField -> TDateField, TTimeField
///   TBlobField -> TMemoField, TGraphicField
///   TObjectField -> TADTField (groups child fields)

#include <memory>
#include <string>
#include <vector>

#include "data/field.h"
#include "framework/export.h"

namespace tabulix::data {

/// @brief A text field (UTF-8).
/// @threads Used with its data set.
class TABULIX_API TStringField : public TField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TStringField(framework::TComponent* owner = nullptr) : TStringField(owner, TFieldType::ftString) {}
    std::string ClassName() const override { return "TStringField"; }
    bool CanHold(const TFieldDef& column) const override;
    void DefineProperties(framework::PropertyList& properties) override;  ///< + Size

    /// The width of a new field.
    static constexpr int kDefaultSize = 20;

protected:
    /// Makes a field of a derived class.
    /// @param owner the owner, or nullptr.
    /// @param type the class's natural type.
    TStringField(framework::TComponent* owner, TFieldType type);
    automation::Variant Convert(const automation::Variant& raw) const override;
};

/// @brief A text field of a wide-text column.
/// @threads Used with its data set.
class TABULIX_API TWideStringField : public TStringField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TWideStringField(framework::TComponent* owner = nullptr) : TStringField(owner, TFieldType::ftWideString) {}
    std::string ClassName() const override { return "TWideStringField"; }
};

/// @brief A GUID, as text.
/// @threads Used with its data set.
class TABULIX_API TGuidField : public TStringField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TGuidField(framework::TComponent* owner = nullptr);
    std::string ClassName() const override { return "TGuidField"; }
    bool CanHold(const TFieldDef& column) const override;
};

/// @brief Base of the number fields, with their display and edit formats.
/// @threads Used with its data set.
class TABULIX_API TNumericField : public TField {
public:
    void DefineProperties(framework::PropertyList& properties) override;  ///< + DisplayFormat, EditFormat
    /// Format texts in the framework's notation ("###,##0.00"); empty when none.
    const std::string& DisplayFormat() const { return displayFormat_; }
    /// Sets the number format a transfer gives the field's cells.
    /// @param format in the framework's notation ("###,##0.00"); empty for none.
    void SetDisplayFormat(const std::string& format) { displayFormat_ = format; }
    /// The format for editing, kept for form files.
    const std::string& EditFormat() const { return editFormat_; }
    /// Sets the format for editing.
    /// @param format the format.
    void SetEditFormat(const std::string& format) { editFormat_ = format; }

protected:
    /// Makes a right-justified field of a derived class.
    /// @param owner the owner, or nullptr.
    /// @param type the class's natural type.
    TNumericField(framework::TComponent* owner, TFieldType type) : TField(owner, type, TAlignment::taRightJustify) {}

private:
    std::string displayFormat_;
    std::string editFormat_;
};

/// @brief A 32-bit integer field.
/// @threads Used with its data set.
class TABULIX_API TIntegerField : public TNumericField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TIntegerField(framework::TComponent* owner = nullptr) : TIntegerField(owner, TFieldType::ftInteger) {}
    std::string ClassName() const override { return "TIntegerField"; }
    bool CanHold(const TFieldDef& column) const override;

protected:
    /// Makes a field of a derived class.
    /// @param owner the owner, or nullptr.
    /// @param type the class's natural type.
    TIntegerField(framework::TComponent* owner, TFieldType type) : TNumericField(owner, type) {}
    automation::Variant Convert(const automation::Variant& raw) const override;
};

/// @brief A 16-bit integer field.
/// @threads Used with its data set.
class TABULIX_API TSmallintField : public TIntegerField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TSmallintField(framework::TComponent* owner = nullptr) : TIntegerField(owner, TFieldType::ftSmallint) {}
    std::string ClassName() const override { return "TSmallintField"; }
    bool CanHold(const TFieldDef& column) const override;
};

/// @brief An unsigned 16-bit integer field.
/// @threads Used with its data set.
class TABULIX_API TWordField : public TIntegerField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TWordField(framework::TComponent* owner = nullptr) : TIntegerField(owner, TFieldType::ftWord) {}
    std::string ClassName() const override { return "TWordField"; }
    bool CanHold(const TFieldDef& column) const override;
};

/// @brief An integer field numbered by its source.
/// @threads Used with its data set.
class TABULIX_API TAutoIncField : public TIntegerField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TAutoIncField(framework::TComponent* owner = nullptr) : TIntegerField(owner, TFieldType::ftAutoInc) {}
    std::string ClassName() const override { return "TAutoIncField"; }
};

/// @brief A 64-bit integer field.
/// @threads Used with its data set.
class TABULIX_API TLargeintField : public TNumericField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TLargeintField(framework::TComponent* owner = nullptr) : TNumericField(owner, TFieldType::ftLargeint) {}
    std::string ClassName() const override { return "TLargeintField"; }
    bool CanHold(const TFieldDef& column) const override;

protected:
    automation::Variant Convert(const automation::Variant& raw) const override;
};

/// Values are Double; the currency flag only says that they are amounts of money, for whoever
/// formats them.
/// @threads Used with its data set.
class TABULIX_API TFloatField : public TNumericField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TFloatField(framework::TComponent* owner = nullptr) : TFloatField(owner, TFieldType::ftFloat, false) {}
    std::string ClassName() const override { return "TFloatField"; }
    bool CanHold(const TFieldDef& column) const override;
    void DefineProperties(framework::PropertyList& properties) override;  ///< + Currency, Precision

    /// Whether the values are amounts of money: a transfer gives them a currency format.
    bool Currency() const { return currency_; }
    /// Marks the values as amounts of money, or not.
    /// @param value true for amounts.
    void SetCurrency(bool value) { currency_ = value; }
    /// The class's Currency: true for TCurrencyField.
    bool DefaultCurrency() const { return defaultCurrency_; }
    /// Significant digits for display; never used to round the value.
    int Precision() const { return precision_; }
    /// Sets the significant digits for display.
    /// @param value the digits.
    void SetPrecision(int value) { precision_ = value; }

    /// The Precision of a new field.
    static constexpr int kDefaultPrecision = 15;

protected:
    /// Makes a field of a derived class.
    /// @param owner the owner, or nullptr.
    /// @param type the class's natural type.
    /// @param currency the class's Currency.
    TFloatField(framework::TComponent* owner, TFieldType type, bool currency)
        : TNumericField(owner, type), currency_(currency), defaultCurrency_(currency) {}
    automation::Variant Convert(const automation::Variant& raw) const override;

private:
    bool currency_;
    bool defaultCurrency_;
    int precision_ = kDefaultPrecision;
};

/// @brief A floating-point field of amounts of money (Currency is true).
/// @threads Used with its data set.
class TABULIX_API TCurrencyField : public TFloatField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TCurrencyField(framework::TComponent* owner = nullptr) : TFloatField(owner, TFieldType::ftCurrency, true) {}
    std::string ClassName() const override { return "TCurrencyField"; }
};

/// Fixed-point decimal values, held as automation Currency (four decimals).
class TABULIX_API TBCDField : public TNumericField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TBCDField(framework::TComponent* owner = nullptr);
    std::string ClassName() const override { return "TBCDField"; }
    bool CanHold(const TFieldDef& column) const override;
    void DefineProperties(framework::PropertyList& properties) override;  ///< + Currency, Precision, Size

    /// Whether the values are amounts of money: a transfer gives them a currency format.
    bool Currency() const { return currency_; }
    /// Marks the values as amounts of money, or not.
    /// @param value true for amounts.
    void SetCurrency(bool value) { currency_ = value; }
    /// The digits of the column.
    int Precision() const { return precision_; }
    /// Sets the digits of the column.
    /// @param value the digits.
    void SetPrecision(int value) { precision_ = value; }

protected:
    automation::Variant Convert(const automation::Variant& raw) const override;

private:
    bool currency_ = false;
    int precision_ = 0;
};

/// @brief A Boolean field.
/// @threads Used with its data set.
class TABULIX_API TBooleanField : public TField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TBooleanField(framework::TComponent* owner = nullptr)
        : TField(owner, TFieldType::ftBoolean, TAlignment::taLeftJustify) {}
    std::string ClassName() const override { return "TBooleanField"; }
    bool CanHold(const TFieldDef& column) const override;
    std::string AsString() const override;

protected:
    automation::Variant Convert(const automation::Variant& raw) const override;
};

/// Values are automation dates (OLE serials); AsString gives ISO text.
class TABULIX_API TDateTimeField : public TField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TDateTimeField(framework::TComponent* owner = nullptr) : TDateTimeField(owner, TFieldType::ftDateTime) {}
    std::string ClassName() const override { return "TDateTimeField"; }
    bool CanHold(const TFieldDef& column) const override;
    std::string AsString() const override;
    void DefineProperties(framework::PropertyList& properties) override;  ///< + DisplayFormat

    /// The display format, kept for form files.
    const std::string& DisplayFormat() const { return displayFormat_; }
    /// Sets the display format.
    /// @param format the format.
    void SetDisplayFormat(const std::string& format) { displayFormat_ = format; }

protected:
    /// Makes a field of a derived class.
    /// @param owner the owner, or nullptr.
    /// @param type the class's natural type.
    TDateTimeField(framework::TComponent* owner, TFieldType type) : TField(owner, type, TAlignment::taLeftJustify) {}
    automation::Variant Convert(const automation::Variant& raw) const override;

private:
    std::string displayFormat_;
};

/// @brief A date field.
/// @threads Used with its data set.
class TABULIX_API TDateField : public TDateTimeField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TDateField(framework::TComponent* owner = nullptr) : TDateTimeField(owner, TFieldType::ftDate) {}
    std::string ClassName() const override { return "TDateField"; }
    bool CanHold(const TFieldDef& column) const override;
};

/// @brief A time-of-day field.
/// @threads Used with its data set.
class TABULIX_API TTimeField : public TDateTimeField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TTimeField(framework::TComponent* owner = nullptr) : TDateTimeField(owner, TFieldType::ftTime) {}
    std::string ClassName() const override { return "TTimeField"; }
    bool CanHold(const TFieldDef& column) const override;
};

/// Binary content. Its bytes are no text, so Value never gives them: it is a description such as
/// "(BLOB, 2048 bytes)" (Null when the column is null), safe to show anywhere; AsBytes gives the
/// bytes themselves.
class TABULIX_API TBlobField : public TField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TBlobField(framework::TComponent* owner = nullptr) : TBlobField(owner, TFieldType::ftBlob) {}
    std::string ClassName() const override { return "TBlobField"; }
    bool CanHold(const TFieldDef& column) const override;
    /// The bytes of the current record's value; empty for null.
    /// @throws EDatabaseError when the data set is closed.
    std::string AsBytes() const;

protected:
    /// Makes a field of a derived class.
    /// @param owner the owner, or nullptr.
    /// @param type the class's natural type.
    TBlobField(framework::TComponent* owner, TFieldType type) : TField(owner, type, TAlignment::taLeftJustify) {}
    automation::Variant Convert(const automation::Variant& raw) const override;
};

/// A text of any length: Value is the text.
class TABULIX_API TMemoField : public TBlobField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TMemoField(framework::TComponent* owner = nullptr) : TBlobField(owner, TFieldType::ftMemo) {}
    std::string ClassName() const override { return "TMemoField"; }
    bool CanHold(const TFieldDef& column) const override;

protected:
    automation::Variant Convert(const automation::Variant& raw) const override;
};

/// @brief A picture, as binary content.
/// @threads Used with its data set.
class TABULIX_API TGraphicField : public TBlobField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TGraphicField(framework::TComponent* owner = nullptr) : TBlobField(owner, TFieldType::ftGraphic) {}
    std::string ClassName() const override { return "TGraphicField"; }
    bool CanHold(const TFieldDef& column) const override;
};

/// A field that groups child fields. It has no value of its own: Value is Null and AsString
/// names the kind, as the framework shows it.
class TABULIX_API TObjectField : public TField {
public:
    ~TObjectField() override;
    /// The number of child fields.
    int FieldCount() const { return static_cast<int>(children_.size()); }
    /// A child field.
    /// @param index from 0.
    /// @throws EDatabaseError for an index outside 0 to FieldCount() - 1.
    TField* Fields(int index) const;
    /// The child fields, in order.
    const std::vector<TField*>& Children() const { return children_; }
    std::string AsString() const override;
    /// Form files nest child fields inside their object field.
    void AdoptChild(framework::TComponent* child) override;
    std::vector<framework::TComponent*> GetChildren() const override;

protected:
    /// Makes a field of a derived class.
    /// @param owner the owner, or nullptr.
    /// @param type the class's natural type.
    TObjectField(framework::TComponent* owner, TFieldType type) : TField(owner, type, TAlignment::taLeftJustify) {}
    automation::Variant Convert(const automation::Variant& raw) const override;

private:
    friend class TField;
    friend class TDataSet;
    std::vector<TField*> children_;  // borrowed: each child detaches itself when destroyed
};

/// @brief A field that groups the child fields of an ADT column.
/// @threads Used with its data set.
class TABULIX_API TADTField : public TObjectField {
public:
    /// Makes a field; an owning data set makes it one of its persistent fields.
    /// @param owner the data set (or another owner), or nullptr.
    explicit TADTField(framework::TComponent* owner = nullptr) : TObjectField(owner, TFieldType::ftADT) {}
    std::string ClassName() const override { return "TADTField"; }
    bool CanHold(const TFieldDef& column) const override;
};

/// The field class a data set creates by default for a column of `type`.
TABULIX_API std::unique_ptr<TField> createDefaultField(TFieldType type);

}  // namespace tabulix::data
