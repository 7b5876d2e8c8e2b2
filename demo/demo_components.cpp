#include "demo/demo_components.h"

#include <QCoreApplication>

#include "component/component_classes.h"
#include "component/tabulix.h"
#include "data/base_folder.h"
#include "data/data_classes.h"
#include "data/database.h"
#include "data/table.h"
#include "framework/dialogs.h"
#include "framework/form_reader.h"
#include "ui/spanish_message.h"

#ifndef TABULIX_DEMO_SOURCE_DIR
#error "TABULIX_DEMO_SOURCE_DIR must name the demo folder of the source tree"
#endif

namespace tabulix::demo {

namespace fs = std::filesystem;

namespace {

template <class T>
T* componentNamed(framework::TComponent& root, const std::string& name, const std::string& kind,
                  const fs::path& file, std::string& problems) {
    auto* found = dynamic_cast<T*>(root.FindComponent(name));
    if (!found) problems += file.string() + ": there is no " + kind + " named '" + name + "'\n";
    return found;
}

}  // namespace

DemoComponents LoadDemoComponents(const fs::path& formFile) {
    data::RegisterDataClasses();
    component::RegisterComponentClasses();

    DemoComponents result;
    result.root = std::make_unique<framework::TForm>(nullptr, "TForm1");
    result.root->SetName("Form1");
    try {
        framework::ReadFormFileInto(*result.root, formFile);
        data::SetBaseFolders(*result.root, fs::absolute(formFile).parent_path());
    } catch (const std::exception& e) {
        result.loadError = ui::SpanishMessage(e);
    }
    if (result.loadError.empty()) {
        std::string problems;
        result.DB = componentNamed<data::TDatabase>(*result.root, "DB", "database", formFile, problems);
        result.Taula = componentNamed<data::TTable>(*result.root, "Taula", "table", formFile, problems);
        result.de = componentNamed<component::TTabulix>(*result.root, "de", "TTabulix", formFile, problems);
        if (!problems.empty()) result.loadError = problems.substr(0, problems.size() - 1);
    }
    if (!result.de) {
        result.de = new component::TTabulix(result.root.get());
        result.de->SetName("de");
    }
    result.FDial = dynamic_cast<framework::TFontDialog*>(result.root->FindComponent("FDial"));
    if (!result.FDial) {
        result.FDial = new framework::TFontDialog(result.root.get());
        result.FDial->SetName("FDial");
    }
    result.CDial = dynamic_cast<framework::TColorDialog*>(result.root->FindComponent("CDial"));
    if (!result.CDial) {
        result.CDial = new framework::TColorDialog(result.root.get());
        result.CDial->SetName("CDial");
    }
    return result;
}

fs::path DefaultFormFile() {
    const fs::path bin = QCoreApplication::applicationDirPath().toStdString();
    for (const fs::path& installed : {bin / "DemoTabulix.form", bin / "../share/tabulix/demo/DemoTabulix.form"})
        if (fs::is_regular_file(installed)) return installed.lexically_normal();
    return fs::path(TABULIX_DEMO_SOURCE_DIR) / "DemoTabulix.form";
}

}  // namespace tabulix::demo
