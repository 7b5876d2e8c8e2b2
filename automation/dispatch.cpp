#include "automation/dispatch.h"

#include "automation/call_journal.h"

namespace tabulix::automation {

Variant Dispatch::invoke(DispId id, InvokeKind kind, std::span<const Variant> args, Lcid lcid) {
    if (CallJournal* log = journal()) {
        std::string member(nameOfId(id));
        if (member.empty()) member = "#" + std::to_string(id);
        log->record(JournalEntry{std::string(typeName()), std::move(member), id, kind,
                                 std::vector<Variant>(args.begin(), args.end()), lcid});
    }
    return doInvoke(id, kind, args, lcid);
}

Variant Dispatch::invoke(std::string_view member, InvokeKind kind, std::span<const Variant> args, Lcid lcid) {
    return invoke(idOfName(member), kind, args, lcid);
}

Variant Dispatch::get(DispId id, std::initializer_list<Variant> args, Lcid lcid) {
    return invoke(id, InvokeKind::PropertyGet, std::span<const Variant>(args.begin(), args.size()), lcid);
}

void Dispatch::put(DispId id, const Variant& value, Lcid lcid) {
    invoke(id, InvokeKind::PropertyPut, std::span<const Variant>(&value, 1), lcid);
}

Variant Dispatch::call(DispId id, std::initializer_list<Variant> args, Lcid lcid) {
    return invoke(id, InvokeKind::Method, std::span<const Variant>(args.begin(), args.size()), lcid);
}

Variant Dispatch::get(std::string_view member, std::initializer_list<Variant> args, Lcid lcid) {
    return get(idOfName(member), args, lcid);
}

void Dispatch::put(std::string_view member, const Variant& value, Lcid lcid) { put(idOfName(member), value, lcid); }

Variant Dispatch::call(std::string_view member, std::initializer_list<Variant> args, Lcid lcid) {
    return call(idOfName(member), args, lcid);
}

}  // namespace tabulix::automation
