// Loads a form file (a data set and a TTabulix with all its settings, as a form designer stores
// them) and runs the transfer of one of its TTabulix components into a new workbook.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include <tabulix/component/component_classes.h>
#include <tabulix/component/tabulix.h>
#include <tabulix/data/base_folder.h>
#include <tabulix/data/data_classes.h>
#include <tabulix/data/data_set.h>
#include <tabulix/framework/class_registry.h>
#include <tabulix/framework/form.h>
#include <tabulix/framework/form_reader.h>
#include <tabulix/spreadsheet/embedded_spreadsheet.h>

using namespace tabulix;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: form_report FORMFILE COMPONENT OUT.xlsx\n");
        return 2;
    }
    try {
        spreadsheet::installEmbeddedSpreadsheet();
        data::RegisterDataClasses();          // TDatabase, TTable, TSQLiteQuery, the field classes
        component::RegisterComponentClasses();  // TTabulix
        framework::ClassRegistry::Instance().Register(  // the form's own class, "object Form1: TForm1"
            "TForm1", [](framework::TComponent* owner) -> framework::TComponent* {
                return new framework::TForm(owner, "TForm1");
            });

        const std::filesystem::path formFile = argv[1];
        std::unique_ptr<framework::TComponent> form = framework::ReadFormFile(formFile);
        data::SetBaseFolders(*form, std::filesystem::absolute(formFile).parent_path());

        auto* report = dynamic_cast<component::TTabulix*>(form->FindComponent(argv[2]));
        if (!report || !report->Datos()) {
            std::fprintf(stderr, "form_report: %s has no TTabulix %s with a data set\n", argv[1], argv[2]);
            return 1;
        }
        report->Datos()->Open();
        report->TraspasarNuevoLibro();
        // A formula record that cannot be placed does not stop the transfer; it is listed.
        for (const component::TFalloFormula& failure : report->FallosFormulas())
            std::fprintf(stderr, "form_report: formula record %d, cell %s: %s\n", failure.Registro,
                         failure.Casilla.c_str(), failure.Motivo.c_str());
        report->GuardarLibro(argv[3]);
        std::printf("%s: rows %d to %d, %d formula records\n", argv[3], report->PrimeraFilaDatos(),
                    report->UltimaFilaDatos(), report->Formulas().Count());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "form_report: %s\n", e.what());
        return 1;
    }
}
