#pragma once
// The formatting objects of a Calc range: Font, Interior and the border lines (Borders and one
// Border by index). They write the range's cell properties.

#include <memory>

#include "office/calc_object.h"

namespace tabulix::office {

class CalcRange;

class CalcFont final : public CalcObject {
public:
    explicit CalcFont(std::shared_ptr<CalcRange> range);
    std::string_view typeName() const override { return "Font"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
    std::shared_ptr<CalcRange> range_;
};

class CalcInterior final : public CalcObject {
public:
    explicit CalcInterior(std::shared_ptr<CalcRange> range);
    std::string_view typeName() const override { return "Interior"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
    std::shared_ptr<CalcRange> range_;
};

class CalcBorders final : public CalcObject {
public:
    explicit CalcBorders(std::shared_ptr<CalcRange> range);
    std::string_view typeName() const override { return "Borders"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
    std::shared_ptr<CalcRange> range_;
};

// One border line of a range: index 1-4 the left, right, top or bottom line of every cell, 5-6
// the diagonals, 7-10 the range's outer edges, 11-12 its inside lines.
class CalcBorder final : public CalcObject {
public:
    CalcBorder(std::shared_ptr<CalcRange> range, std::int32_t index);
    std::string_view typeName() const override { return "Border"; }

private:
    std::span<const Member> members() const override;
    automation::Variant invokeMember(const CalcCall& call) override;
    std::shared_ptr<CalcRange> range_;
    std::int32_t index_;
};

std::shared_ptr<CalcBorder> borderOfRange(const CalcCall& call, const std::shared_ptr<CalcRange>& range,
                                          std::int32_t index);

}  // namespace tabulix::office
