#pragma once
// A workbook's document properties (title, subject, author, company, created and modified...),
// as automation sees them through Workbook.BuiltinDocumentProperties: Item(name) gives a
// property whose Value (its default member) is read and set.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "spreadsheet/model/model_object.h"

namespace tabulix::spreadsheet {

class Workbook;

struct DocumentProperties {
    // The texts, in the order of kTextNames.
    static constexpr std::array<std::string_view, 9> kTextNames = {
        "Title", "Subject", "Author", "Keywords", "Comments", "Last Author", "Category", "Manager", "Company"};
    enum Text { Title, Subject, Author, Keywords, Comments, LastAuthor, Category, Manager, Company };

    std::array<std::string, kTextNames.size()> texts;
    // Serial dates (days since 1899-12-30, in UTC); nothing when never set.
    std::optional<double> created;
    std::optional<double> modified;

    const std::string& text(Text which) const { return texts[which]; }
    bool isEmpty() const {
        for (const std::string& t : texts)
            if (!t.empty()) return false;
        return !created && !modified;
    }
};

class DocumentPropertiesCollection final : public ModelObject {
public:
    explicit DocumentPropertiesCollection(std::shared_ptr<Workbook> book) : book_(std::move(book)) {}
    std::string_view typeName() const override { return "DocumentProperties"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Workbook> book_;
};

class DocumentProperty final : public ModelObject {
public:
    // `index` counts the texts first, then "Creation Date" and "Last Save Time".
    DocumentProperty(std::shared_ptr<Workbook> book, std::size_t index) : book_(std::move(book)), index_(index) {}
    std::string_view typeName() const override { return "DocumentProperty"; }
    Application* application() const override;
    const automation::ThreadOwner* threadOwner() const override;

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const Call& call) override;

    std::shared_ptr<Workbook> book_;
    std::size_t index_;
};

}  // namespace tabulix::spreadsheet
