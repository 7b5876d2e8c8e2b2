#include "automation/call_journal.h"

#include <cstdio>

namespace tabulix::automation {

std::string JournalEntry::describe() const {
    std::string line = object + "." + member;
    switch (kind) {
        case InvokeKind::PropertyGet: line += " get"; break;
        case InvokeKind::PropertyPut: line += " put"; break;
        case InvokeKind::Method: line += " call"; break;
    }
    line += " [";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i) line += ", ";
        line += args[i].describe();
    }
    line += "]";
    if (lcid != kLcidNeutral) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, " lcid=0x%04X", lcid);
        line += buffer;
    }
    return line;
}

void CallJournal::record(JournalEntry entry) {
    if (listener_) listener_(entry);
    if (keeping_) entries_.push_back(std::move(entry));
}

}  // namespace tabulix::automation
