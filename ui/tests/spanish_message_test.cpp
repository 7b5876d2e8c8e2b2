// Errors as the Spanish programs show them: the lower layers' English detail kept whole after a
// Spanish sentence, the component's own Spanish messages as they are.
#include <gtest/gtest.h>

#include <stdexcept>

#include "automation/automation_error.h"
#include "component/tabulix_error.h"
#include "data/data_error.h"
#include "framework/convert.h"
#include "framework/form_file_error.h"
#include "ui/spanish_message.h"

using namespace tabulix;

TEST(SpanishMessage, WrapsEachLayersDetailAndKeepsTheComponentsOwn) {
    const framework::FormFileError form("Demo.form", 12, "unknown property 'Colour' of TAtributosCasilla");
    EXPECT_EQ(ui::SpanishMessage(form),
              "No se puede leer el fichero de formulario: " + std::string(form.what()));
    EXPECT_NE(ui::SpanishMessage(form).find("Demo.form:12"), std::string::npos);

    const automation::AutomationError refused("Range: 'A0' is not a cell name");
    EXPECT_EQ(ui::SpanishMessage(refused),
              "La hoja de c\xC3\xA1lculo no ha aceptado la operaci\xC3\xB3n: Range: 'A0' is not a cell name");
    EXPECT_EQ(ui::SpanishMessage(data::EDatabaseError("Demo.DBF: record 3 is cut short")),
              "Error en el conjunto de datos: Demo.DBF: record 3 is cut short");
    EXPECT_EQ(ui::SpanishMessage(framework::EConvertError("'x' is not a valid integer value")),
              "Valor no v\xC3\xA1lido: 'x' is not a valid integer value");

    const component::ETabulixError own("No hay ninguna hoja conectada");
    EXPECT_EQ(ui::SpanishMessage(own), "No hay ninguna hoja conectada");
    EXPECT_EQ(ui::SpanishMessage(std::runtime_error("disk full")), "Error: disk full");
}
