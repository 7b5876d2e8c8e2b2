#include "ui/spanish_message.h"

#include <filesystem>
#include <new>

#include "automation/automation_error.h"
#include "component/tabulix_error.h"
#include "data/data_error.h"
#include "framework/convert.h"
#include "framework/form_file_error.h"
#include "framework/property_list.h"

namespace tabulix::ui {

std::string SpanishMessage(const std::exception& error) {
    const std::string detail = error.what();
    if (dynamic_cast<const component::ETabulixError*>(&error)) return detail;
    if (dynamic_cast<const framework::FormFileError*>(&error))
        return "No se puede leer el fichero de formulario: " + detail;
    if (dynamic_cast<const framework::FormWriteError*>(&error))
        return "No se puede escribir el fichero de formulario: " + detail;
    if (dynamic_cast<const data::EDatabaseError*>(&error)) return "Error en el conjunto de datos: " + detail;
    if (dynamic_cast<const automation::AutomationError*>(&error))
        return "La hoja de c\xC3\xA1lculo no ha aceptado la operaci\xC3\xB3n: " + detail;
    if (dynamic_cast<const framework::EConvertError*>(&error)) return "Valor no v\xC3\xA1lido: " + detail;
    if (dynamic_cast<const framework::PropertyValueError*>(&error))
        return "Valor de propiedad no v\xC3\xA1lido: " + detail;
    if (dynamic_cast<const std::filesystem::filesystem_error*>(&error)) return "Error de fichero: " + detail;
    if (dynamic_cast<const std::bad_alloc*>(&error)) return "No hay memoria suficiente para terminar la operaci\xC3\xB3n";
    return "Error: " + detail;
}

}  // namespace tabulix::ui
