// Loading the built libPackTabulix.so through the host's loader (dlopen, then Register): the
// palette entry with its picture, the property editor on Formulas, the package information; and
// the clear refusal of a missing, broken or foreign library, after which the host goes on.

#include <gtest/gtest.h>

#include <QPixmap>
#include <filesystem>
#include <fstream>

#include "component/tabulix.h"
#include "design/host/designer_setup.h"
#include "design/host/form_document.h"
#include "design/pack_tabulix.h"
#include "design/tests/host_test_support.h"
#include "framework/class_registry.h"
#include "framework/form.h"

namespace tabulix::design {
namespace {

using testing::ScriptedDesignerHost;

std::string messageOf(DesignerHost& host, const std::filesystem::path& library) {
    try {
        host.LoadPackage(library);
    } catch (const PackageError& e) {
        return e.what();
    }
    return "(loaded)";
}

TEST(PackageLoader, LoadsThePackageAndFindsItsPaletteEntryAndEditor) {
    ScriptedDesignerHost host;
    const DesignerHost::LoadedPackage& package = host.LoadPackage(testing::PackageLibrary());
    ASSERT_NE(package.info, nullptr);
    EXPECT_EQ(package.info->name, "PackTabulix");
    EXPECT_EQ(package.info->version.languageId, 0x0C0Au);

    ASSERT_EQ(host.Pages().size(), 1u);
    const DesignerHost::PalettePage& page = host.Pages()[0];
    EXPECT_EQ(page.name, "Tabulix");
    ASSERT_EQ(page.entries.size(), 1u);
    EXPECT_EQ(page.entries[0].className, "TTabulix");
    ASSERT_NE(page.entries[0].picture, nullptr);
    const QPixmap picture(page.entries[0].picture);
    EXPECT_EQ(picture.size(), QSize(24, 24));

    // The class the package registered is the one the host creates and streams.
    framework::TForm form(nullptr);
    framework::TComponent* placed = framework::ClassRegistry::Instance().Create("TTabulix", form);
    auto* tabulix = dynamic_cast<component::TTabulix*>(placed);
    ASSERT_NE(tabulix, nullptr);
    const framework::PropertyList properties = framework::PropertyList::Of(*tabulix);
    auto editor = host.EditorFor(*tabulix, *properties.Find("Formulas"));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetValue(), "[TFormulaTabulix]");
    EXPECT_EQ(editor->GetAttributes(), (TPropertyAttributes{paDialog, paReadOnly}));
    EXPECT_EQ(host.EditorFor(*tabulix, *properties.Find("TituloFormato")), nullptr);
    EXPECT_EQ(editor->GetOrdValue(), &tabulix->Formulas());
}

TEST(PackageLoader, AMissingBrokenOrForeignLibraryIsRefusedClearly) {
    ScriptedDesignerHost host;
    RegisterDataAccessPalette(host);
    const std::string missing = messageOf(host, "/no/such/folder/libPackTabulix.so");
    EXPECT_NE(missing.find("cannot load the package /no/such/folder/libPackTabulix.so"), std::string::npos) << missing;
    EXPECT_NE(missing.find("No such file"), std::string::npos) << missing;

    const auto broken = std::filesystem::temp_directory_path() / "tabulix_broken_package.so";
    std::ofstream(broken) << "not a library";
    const std::string brokenMessage = messageOf(host, broken);
    std::filesystem::remove(broken);
    EXPECT_NE(brokenMessage.find("cannot load the package " + broken.string()), std::string::npos) << brokenMessage;

    const std::string foreign = messageOf(host, NOT_A_PACKAGE_LIBRARY);
    EXPECT_NE(foreign.find("is not a design-time package: it has no Register entry point"), std::string::npos)
        << foreign;

    // The host goes on: its palette is as it was, and the real package still loads.
    ASSERT_EQ(host.Pages().size(), 1u);
    EXPECT_EQ(host.Pages()[0].name, "Data Access");
    EXPECT_TRUE(host.Packages().empty());
    host.LoadPackage(testing::PackageLibrary());
    EXPECT_EQ(host.Pages().size(), 2u);
}

TEST(PackageLoader, TheProgramFindsThePackageBesideItOrInTheBuildTree) {
    const auto found = DefaultPackages("/no/such/program/folder");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].filename(), "libPackTabulix.so");
    EXPECT_TRUE(std::filesystem::exists(found[0]));
}

}  // namespace
}  // namespace tabulix::design
