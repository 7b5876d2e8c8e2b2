#include "office/calc_save.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XStorable.hpp>

#include "automation/automation_error.h"
#include "automation/workbook_file_name.h"
#include "framework/atomic_file.h"
#include "framework/printable.h"
#include "office/calc_view_data.h"
#include "office/uno_text.h"
#include "office/xlsx_frozen_panes.h"

namespace tabulix::office {

namespace fs = std::filesystem;
using automation::AutomationError;

namespace {

// Copies the file at `from` to the descriptor `to`.
void copyInto(const fs::path& from, int to) {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) throw std::runtime_error(std::string("the workbook LibreOffice Calc wrote cannot be read: ") + std::strerror(errno));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            close(in);
            throw std::runtime_error(std::string("the workbook LibreOffice Calc wrote cannot be read: ") + std::strerror(error));
        }
        if (got == 0) break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(to, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) {
                const int error = errno;
                close(in);
                throw std::runtime_error(std::strerror(error));
            }
            done += put;
        }
    }
    close(in);
}

// The frozen panes of the document's sheets, by sheet position.
std::map<std::size_t, FrozenPanes> frozenPanes(const css::uno::Reference<css::frame::XModel>& document) {
    const css::uno::Reference<css::frame::XController> controller = document->getCurrentController();
    if (!controller.is()) return {};
    rtl::OUString text;
    controller->getViewData() >>= text;
    const ViewData views(fromUno(text));
    std::map<std::size_t, FrozenPanes> panes;
    for (std::size_t i = 0; i < views.sheetCount(); ++i) {
        const SheetView v = views.sheet(i);
        if (v.frozen())
            panes[i] = {v.firstColumn(), v.firstRow(), v.frozenColumns(), v.frozenRows(), v.scrollingColumn(),
                        v.scrollingRow()};
    }
    return panes;
}

}  // namespace

fs::path saveWorkbook(const css::uno::Reference<css::frame::XModel>& document, const std::string& path,
                      const fs::path& scratch) {
    const std::string target = automation::WorkbookFileName(path);
    try {
        // The target is checked (and its temporary file made) before Calc spends time writing.
        framework::AtomicFile file(target);
        css::uno::Sequence<css::beans::PropertyValue> args(2);
        args.getArray()[0].Name = "FilterName";
        args.getArray()[0].Value <<= toUno("Calc MS Excel 2007 XML");
        args.getArray()[1].Name = "Overwrite";
        args.getArray()[1].Value <<= true;
        try {
            css::uno::Reference<css::frame::XStorable>(document, css::uno::UNO_QUERY_THROW)
                ->storeToURL(fileUrl(scratch.string()), args);
        } catch (const css::uno::Exception& e) {
            std::error_code ignored;
            fs::remove(scratch, ignored);
            throw std::runtime_error("LibreOffice Calc could not write the workbook" +
                                     (e.Message.isEmpty() ? std::string() : ": " + fromUno(e.Message)));
        }
        try {
            addFrozenPanes(scratch, frozenPanes(document));
            copyInto(scratch, file.Descriptor());
        } catch (...) {
            std::error_code ignored;
            fs::remove(scratch, ignored);
            throw;
        }
        std::error_code ignored;
        fs::remove(scratch, ignored);
        file.Commit();
    } catch (const AutomationError&) {
        throw;
    } catch (const std::exception& e) {
        throw AutomationError("Cannot save " + framework::quotedPath(target) + ": " + e.what());
    }
    return target;
}

}  // namespace tabulix::office
