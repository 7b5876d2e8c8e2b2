#include "data/memory_data_set.h"

#include <variant>

#include "data/field_classes.h"
#include "data/shown_text.h"
#include "framework/text_compare.h"

namespace tabulix::data {

using automation::Variant;

// One leaf column: a typed array of values plus a null mask.
class TMemoryDataSet::Column {
public:
    Column(std::string name, TFieldType type) : name_(std::move(name)), type_(type) {
        switch (type) {
            case TFieldType::ftSmallint:
            case TFieldType::ftInteger:
            case TFieldType::ftWord:
            case TFieldType::ftAutoInc: values_.emplace<std::vector<std::int32_t>>(); break;
            case TFieldType::ftLargeint:
            case TFieldType::ftBCD: values_.emplace<std::vector<std::int64_t>>(); break;
            case TFieldType::ftFloat:
            case TFieldType::ftCurrency:
            case TFieldType::ftDate:
            case TFieldType::ftTime:
            case TFieldType::ftDateTime: values_.emplace<std::vector<double>>(); break;
            case TFieldType::ftBoolean: values_.emplace<std::vector<bool>>(); break;
            default: values_.emplace<Texts>(); break;
        }
    }

    const std::string& name() const { return name_; }

    // The value as stored, or raises when the column cannot hold it. Checked before any column
    // of the record is changed.
    struct Prepared {
        bool null = true;
        std::int64_t integer = 0;
        double real = 0;
        std::string text;
    };
    Prepared prepare(const Variant& value) const {
        Prepared p;
        if (value.isNull() || value.isEmpty()) return p;
        p.null = false;
        switch (type_) {
            case TFieldType::ftSmallint: p.integer = checkRange(value.toInt64(), -32768, 32767); break;
            case TFieldType::ftWord: p.integer = checkRange(value.toInt64(), 0, 65535); break;
            case TFieldType::ftInteger:
            case TFieldType::ftAutoInc: p.integer = value.toInt32(); break;
            case TFieldType::ftLargeint: p.integer = value.toInt64(); break;
            case TFieldType::ftBCD: p.integer = value.toCurrency().scaled; break;
            case TFieldType::ftDate:
            case TFieldType::ftTime:
            case TFieldType::ftDateTime: p.real = value.toDate().serial; break;
            case TFieldType::ftFloat:
            case TFieldType::ftCurrency: p.real = value.toDouble(); break;
            case TFieldType::ftBoolean: p.integer = value.toBool() ? 1 : 0; break;
            default: p.text = value.toText(); break;
        }
        return p;
    }

    void append(const Prepared& p) {
        nulls_.push_back(p.null);
        std::visit(
            [&](auto& store) {
                using T = std::decay_t<decltype(store)>;
                if constexpr (std::is_same_v<T, Texts>) {
                    store.buffer += p.text;
                    store.ends.push_back(store.buffer.size());
                } else if constexpr (std::is_same_v<T, std::vector<double>>) {
                    store.push_back(p.real);
                } else if constexpr (std::is_same_v<T, std::vector<bool>>) {
                    store.push_back(p.integer != 0);
                } else {
                    store.push_back(static_cast<typename T::value_type>(p.integer));
                }
            },
            values_);
    }

    Variant value(std::int64_t row) const {
        const auto i = static_cast<std::size_t>(row);
        if (nulls_[i]) return Variant::null();
        switch (type_) {
            case TFieldType::ftSmallint:
            case TFieldType::ftInteger:
            case TFieldType::ftWord:
            case TFieldType::ftAutoInc: return Variant(std::get<std::vector<std::int32_t>>(values_)[i]);
            case TFieldType::ftLargeint: return Variant(std::get<std::vector<std::int64_t>>(values_)[i]);
            case TFieldType::ftBCD: return Variant(automation::Currency{std::get<std::vector<std::int64_t>>(values_)[i]});
            case TFieldType::ftDate:
            case TFieldType::ftTime:
            case TFieldType::ftDateTime: return Variant(automation::Date{std::get<std::vector<double>>(values_)[i]});
            case TFieldType::ftFloat:
            case TFieldType::ftCurrency: return Variant(std::get<std::vector<double>>(values_)[i]);
            case TFieldType::ftBoolean: return Variant(static_cast<bool>(std::get<std::vector<bool>>(values_)[i]));
            default: {
                const Texts& texts = std::get<Texts>(values_);
                const std::size_t begin = i == 0 ? 0 : texts.ends[i - 1];
                return Variant(texts.buffer.substr(begin, texts.ends[i] - begin));
            }
        }
    }

    void clear() {
        nulls_.clear();
        std::visit([](auto& store) { store = {}; }, values_);
    }

private:
    struct Texts {
        std::string buffer;
        std::vector<std::size_t> ends;
    };

    static std::int64_t checkRange(std::int64_t v, std::int64_t low, std::int64_t high) {
        if (v < low || v > high)
            throw EDatabaseError(std::to_string(v) + " is outside " + std::to_string(low) + ".." + std::to_string(high));
        return v;
    }

    std::string name_;
    TFieldType type_;
    std::vector<bool> nulls_;
    std::variant<std::vector<std::int32_t>, std::vector<std::int64_t>, std::vector<double>, std::vector<bool>, Texts>
        values_;
};

TMemoryDataSet::TMemoryDataSet(framework::TComponent* owner) : TDataSet(owner) {}

TMemoryDataSet::~TMemoryDataSet() { Close(); }

void TMemoryDataSet::AddFieldDef(const std::string& name, TFieldType type, int size) {
    AddFieldDef(TFieldDef{name, type, size, 0, {}});
}

void TMemoryDataSet::AddFieldDef(TFieldDef def) {
    if (Active()) throw EDatabaseError("Cannot add column '" + shown(def.name) + "' while data set " + DisplayName() + " is open");
    if (count_ > 0)
        throw EDatabaseError("Cannot add column '" + shown(def.name) + "' to data set " + DisplayName() +
                             ": it already holds records");
    if (def.name.empty()) throw EDatabaseError("Data set " + DisplayName() + ": a column needs a name");
    if (def.dataType == TFieldType::ftUnknown)
        throw EDatabaseError("Data set " + DisplayName() + ": column '" + shown(def.name) + "' needs a type");
    for (const TFieldDef& existing : definitions_)
        if (framework::sameText(existing.name, def.name))
            throw EDatabaseError("Data set " + DisplayName() + " already has a column '" + shown(def.name) + "'");
    addLeafColumns(def, "");
    definitions_.push_back(std::move(def));
}

void TMemoryDataSet::addLeafColumns(const TFieldDef& def, const std::string& prefix) {
    if (def.dataType == TFieldType::ftADT) {
        for (const TFieldDef& child : def.children) addLeafColumns(child, prefix + def.name + ".");
        return;
    }
    columns_.push_back(std::make_unique<Column>(prefix + def.name, def.dataType));
}

void TMemoryDataSet::AppendRecord(std::initializer_list<Variant> values) {
    AppendRecord(std::vector<Variant>(values));
}

void TMemoryDataSet::AppendRecord(const std::vector<Variant>& values) {
    if (values.size() != columns_.size())
        throw EDatabaseError("Data set " + DisplayName() + ": a record needs " + std::to_string(columns_.size()) +
                             " values, got " + std::to_string(values.size()));
    std::vector<Column::Prepared> prepared;
    prepared.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        try {
            prepared.push_back(columns_[i]->prepare(values[i]));
        } catch (const std::exception& error) {
            throw EDatabaseError("Data set " + DisplayName() + ", record " + std::to_string(count_ + 1) + ", column '" +
                                 columns_[i]->name() + "': cannot store " + values[i].describe() + ": " + error.what());
        }
    }
    for (std::size_t i = 0; i < values.size(); ++i) columns_[i]->append(prepared[i]);
    ++count_;
    if (Active()) {
        current_ = count_ - 1;
        CursorMovedTo(count_);
    }
}

void TMemoryDataSet::EmptyDataSet() {
    for (auto& column : columns_) column->clear();
    count_ = 0;
    current_ = -1;
    if (Active()) {
        Close();
        Open();
    }
}

std::vector<TFieldDef> TMemoryDataSet::InternalOpen() {
    current_ = -1;
    return definitions_;
}

bool TMemoryDataSet::InternalFirst() {
    if (count_ == 0) return false;
    current_ = 0;
    return true;
}

bool TMemoryDataSet::InternalNext() {
    if (current_ + 1 >= count_) return false;
    ++current_;
    return true;
}

void TMemoryDataSet::InternalGotoKey(std::int64_t key) {
    if (key < 0 || key >= count_)
        throw EDatabaseError("Bookmark of data set " + DisplayName() + " points to record " + std::to_string(key + 1) +
                             ", which no longer exists");
    current_ = key;
}

Variant TMemoryDataSet::InternalValue(int column) const {
    return columns_.at(static_cast<std::size_t>(column))->value(current_);
}

}  // namespace tabulix::data
