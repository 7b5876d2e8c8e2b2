#include "data/field_classes.h"

#include <initializer_list>

#include "data/data_error.h"
#include "data/data_set.h"
#include "data/date_time.h"
#include "data/shown_text.h"
#include "framework/text_compare.h"
#include "framework/property_list.h"

namespace tabulix::data {

using automation::Variant;
using automation::VariantType;

namespace {

bool oneOf(TFieldType type, std::initializer_list<TFieldType> types) {
    for (TFieldType t : types)
        if (t == type) return true;
    return false;
}

}  // namespace

// --- text ---

TStringField::TStringField(framework::TComponent* owner, TFieldType type) : TField(owner, type, TAlignment::taLeftJustify) {
    SetSize(kDefaultSize);
}

void TStringField::DefineProperties(framework::PropertyList& p) {
    TField::DefineProperties(p);
    p.Integer<int>("Size", [this] { return Size(); }, [this](int v) { SetSize(v); }).AlwaysStored();
}

bool TStringField::CanHold(const TFieldDef& column) const {
    // A column of unknown width (0) is accepted: its texts are not cut either way.
    return oneOf(column.dataType, {TFieldType::ftString, TFieldType::ftWideString, TFieldType::ftGuid}) &&
           column.size <= Size();
}

Variant TStringField::Convert(const Variant& raw) const {
    if (raw.type() == VariantType::Text) return raw;
    return Variant(raw.toText());
}

TGuidField::TGuidField(framework::TComponent* owner) : TStringField(owner, TFieldType::ftGuid) { SetSize(38); }

bool TGuidField::CanHold(const TFieldDef& column) const { return column.dataType == TFieldType::ftGuid; }

// --- numbers ---

void TNumericField::DefineProperties(framework::PropertyList& p) {
    TField::DefineProperties(p);
    p.Text("DisplayFormat", displayFormat_);
    p.Text("EditFormat", editFormat_);
}


bool TIntegerField::CanHold(const TFieldDef& column) const {
    return oneOf(column.dataType,
                 {TFieldType::ftInteger, TFieldType::ftSmallint, TFieldType::ftWord, TFieldType::ftAutoInc});
}

Variant TIntegerField::Convert(const Variant& raw) const {
    if (raw.type() == VariantType::Int32) return raw;
    return Variant(raw.toInt32());
}

bool TSmallintField::CanHold(const TFieldDef& column) const { return column.dataType == TFieldType::ftSmallint; }

bool TWordField::CanHold(const TFieldDef& column) const { return column.dataType == TFieldType::ftWord; }

bool TLargeintField::CanHold(const TFieldDef& column) const {
    return oneOf(column.dataType, {TFieldType::ftLargeint, TFieldType::ftInteger, TFieldType::ftSmallint,
                                   TFieldType::ftWord, TFieldType::ftAutoInc});
}

Variant TLargeintField::Convert(const Variant& raw) const {
    if (raw.type() == VariantType::Int64) return raw;
    return Variant(raw.toInt64());
}

// --- floating point and fixed point ---

void TFloatField::DefineProperties(framework::PropertyList& p) {
    TNumericField::DefineProperties(p);
    p.Boolean("Currency", currency_).Default(defaultCurrency_);
    p.Integer("Precision", precision_).Default(kDefaultPrecision);
}

bool TFloatField::CanHold(const TFieldDef& column) const {
    // 64-bit integers are left out: a double does not hold all of them exactly.
    return oneOf(column.dataType, {TFieldType::ftFloat, TFieldType::ftCurrency, TFieldType::ftBCD,
                                   TFieldType::ftInteger, TFieldType::ftSmallint, TFieldType::ftWord,
                                   TFieldType::ftAutoInc});
}

Variant TFloatField::Convert(const Variant& raw) const {
    if (raw.type() == VariantType::Double) return raw;
    return Variant(raw.toDouble());
}

TBCDField::TBCDField(framework::TComponent* owner) : TNumericField(owner, TFieldType::ftBCD) { SetSize(4); }

void TBCDField::DefineProperties(framework::PropertyList& p) {
    TNumericField::DefineProperties(p);
    p.Boolean("Currency", currency_).Default(false);
    p.Integer("Precision", precision_).Default(0);
    p.Integer<int>("Size", [this] { return Size(); }, [this](int v) { SetSize(v); }).Default(4);
}

bool TBCDField::CanHold(const TFieldDef& column) const {
    return oneOf(column.dataType, {TFieldType::ftBCD, TFieldType::ftCurrency, TFieldType::ftInteger,
                                   TFieldType::ftSmallint, TFieldType::ftWord, TFieldType::ftAutoInc});
}

Variant TBCDField::Convert(const Variant& raw) const {
    if (raw.type() == VariantType::Currency) return raw;
    return Variant(raw.toCurrency());
}

// --- Boolean ---

bool TBooleanField::CanHold(const TFieldDef& column) const { return column.dataType == TFieldType::ftBoolean; }

std::string TBooleanField::AsString() const {
    const Variant value = Value();
    if (value.isNull()) return {};
    return value.toBool() ? "True" : "False";
}

Variant TBooleanField::Convert(const Variant& raw) const {
    if (raw.type() == VariantType::Boolean) return raw;
    return Variant(raw.toBool());
}

// --- dates and times ---

void TDateTimeField::DefineProperties(framework::PropertyList& p) {
    TField::DefineProperties(p);
    p.Text("DisplayFormat", displayFormat_);
}

bool TDateTimeField::CanHold(const TFieldDef& column) const {
    return oneOf(column.dataType, {TFieldType::ftDateTime, TFieldType::ftDate, TFieldType::ftTime});
}

std::string TDateTimeField::AsString() const {
    const Variant value = Value();
    if (value.isNull()) return {};
    const automation::Date date = value.toDate();
    switch (DataType()) {
        case TFieldType::ftDate: return formatIsoDate(date);
        case TFieldType::ftTime: return formatIsoTime(date);
        default: return formatIsoDateTime(date);
    }
}

Variant TDateTimeField::Convert(const Variant& raw) const {
    if (raw.type() == VariantType::Date) return raw;
    if (raw.type() == VariantType::Text) {
        if (auto date = parseIsoDateTime(*raw.getIf<std::string>())) return Variant(*date);
        throw EDatabaseError("\"" + shown(*raw.getIf<std::string>()) + "\" is not a date");
    }
    return Variant(raw.toDate());
}

bool TDateField::CanHold(const TFieldDef& column) const { return column.dataType == TFieldType::ftDate; }

bool TTimeField::CanHold(const TFieldDef& column) const { return column.dataType == TFieldType::ftTime; }

// --- blobs ---

bool TBlobField::CanHold(const TFieldDef& column) const {
    return oneOf(column.dataType, {TFieldType::ftBlob, TFieldType::ftMemo, TFieldType::ftGraphic});
}

Variant TBlobField::Convert(const Variant& raw) const {
    const std::string* bytes = raw.getIf<std::string>();
    const std::size_t size = bytes ? bytes->size() : raw.toText().size();
    std::string kind(fieldTypeName(DataType()).substr(2));
    for (char& c : kind) c = framework::upperAscii(c);
    return Variant("(" + kind + ", " + std::to_string(size) + (size == 1 ? " byte)" : " bytes)"));
}

std::string TBlobField::AsBytes() const {
    if (Value().isNull()) return {};  // also raises, as Value does, without an open data set
    const Variant raw = DataSet()->ColumnValue(FieldNo());
    return raw.isNull() ? std::string() : raw.toText();
}

Variant TMemoField::Convert(const Variant& raw) const {
    if (raw.type() == VariantType::Text) return raw;
    return Variant(raw.toText());
}

bool TMemoField::CanHold(const TFieldDef& column) const {
    return oneOf(column.dataType, {TFieldType::ftMemo, TFieldType::ftString, TFieldType::ftWideString});
}

bool TGraphicField::CanHold(const TFieldDef& column) const {
    return oneOf(column.dataType, {TFieldType::ftGraphic, TFieldType::ftBlob});
}

// --- object fields ---

TObjectField::~TObjectField() {
    for (TField* child : children_) child->parent_ = nullptr;
    children_.clear();
}

TField* TObjectField::Fields(int index) const {
    if (index < 0 || index >= FieldCount())
        throw EDatabaseError("Field index " + std::to_string(index) + " out of range in field '" + shown(FullName()) + "'");
    return children_[static_cast<std::size_t>(index)];
}

void TObjectField::AdoptChild(framework::TComponent* child) {
    auto* field = dynamic_cast<TField*>(child);
    if (!field)
        throw EDatabaseError("Field '" + shown(FullName()) + "' can only hold fields, not a " + child->ClassName());
    field->SetParentField(this);
}

std::vector<framework::TComponent*> TObjectField::GetChildren() const {
    std::vector<framework::TComponent*> children;
    for (TField* child : children_)
        if (child->Owner() == this) children.push_back(child);
    return children;
}

std::string TObjectField::AsString() const { return "(" + std::string(fieldTypeName(DataType())).substr(2) + ")"; }

Variant TObjectField::Convert(const Variant& /*raw*/) const { return Variant::null(); }

bool TADTField::CanHold(const TFieldDef& column) const { return column.dataType == TFieldType::ftADT; }

std::unique_ptr<TField> createDefaultField(TFieldType type) {
    switch (type) {
        case TFieldType::ftString: return std::make_unique<TStringField>();
        case TFieldType::ftWideString: return std::make_unique<TWideStringField>();
        case TFieldType::ftGuid: return std::make_unique<TGuidField>();
        case TFieldType::ftSmallint: return std::make_unique<TSmallintField>();
        case TFieldType::ftInteger: return std::make_unique<TIntegerField>();
        case TFieldType::ftWord: return std::make_unique<TWordField>();
        case TFieldType::ftAutoInc: return std::make_unique<TAutoIncField>();
        case TFieldType::ftLargeint: return std::make_unique<TLargeintField>();
        case TFieldType::ftFloat: return std::make_unique<TFloatField>();
        case TFieldType::ftCurrency: return std::make_unique<TCurrencyField>();
        case TFieldType::ftBCD: return std::make_unique<TBCDField>();
        case TFieldType::ftBoolean: return std::make_unique<TBooleanField>();
        case TFieldType::ftDate: return std::make_unique<TDateField>();
        case TFieldType::ftTime: return std::make_unique<TTimeField>();
        case TFieldType::ftDateTime: return std::make_unique<TDateTimeField>();
        case TFieldType::ftBlob: return std::make_unique<TBlobField>();
        case TFieldType::ftMemo: return std::make_unique<TMemoField>();
        case TFieldType::ftGraphic: return std::make_unique<TGraphicField>();
        case TFieldType::ftADT: return std::make_unique<TADTField>();
        case TFieldType::ftUnknown: break;
    }
    throw EDatabaseError("No field class for columns of type " + std::string(fieldTypeName(type)));
}

std::string_view fieldTypeName(TFieldType type) {
    switch (type) {
        case TFieldType::ftUnknown: return "ftUnknown";
        case TFieldType::ftString: return "ftString";
        case TFieldType::ftWideString: return "ftWideString";
        case TFieldType::ftGuid: return "ftGuid";
        case TFieldType::ftSmallint: return "ftSmallint";
        case TFieldType::ftInteger: return "ftInteger";
        case TFieldType::ftWord: return "ftWord";
        case TFieldType::ftAutoInc: return "ftAutoInc";
        case TFieldType::ftLargeint: return "ftLargeint";
        case TFieldType::ftFloat: return "ftFloat";
        case TFieldType::ftCurrency: return "ftCurrency";
        case TFieldType::ftBCD: return "ftBCD";
        case TFieldType::ftBoolean: return "ftBoolean";
        case TFieldType::ftDate: return "ftDate";
        case TFieldType::ftTime: return "ftTime";
        case TFieldType::ftDateTime: return "ftDateTime";
        case TFieldType::ftBlob: return "ftBlob";
        case TFieldType::ftMemo: return "ftMemo";
        case TFieldType::ftGraphic: return "ftGraphic";
        case TFieldType::ftADT: return "ftADT";
    }
    return "ftUnknown";
}

}  // namespace tabulix::data
