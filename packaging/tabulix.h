#pragma once
/// @file
/// @brief Everything a program needs to lay data sets out in workbooks, in one include.
///
/// @code
/// #include <tabulix/tabulix.h>
/// @endcode
///
/// brings in the component TTabulix with its formula list and attribute sets, the data sets and
/// their fields, the embedded spreadsheet, the automation layer the component drives it
/// through, and the framework beneath them (components, form files, string lists, fonts and
/// colours). Link the shared library libtabulix: `Tabulix::tabulix` with CMake, `tabulix` with
/// pkg-config. Everything is in the namespace tabulix and its sub-namespaces framework,
/// automation, spreadsheet, data and component.

#include <tabulix/framework/class_registry.h>
#include <tabulix/framework/color.h>
#include <tabulix/framework/component.h>
#include <tabulix/framework/convert.h>
#include <tabulix/framework/currency_settings.h>
#include <tabulix/framework/font.h>
#include <tabulix/framework/form.h>
#include <tabulix/framework/form_file_error.h>
#include <tabulix/framework/form_reader.h>
#include <tabulix/framework/form_writer.h>
#include <tabulix/framework/string_list.h>
#include <tabulix/framework/ui_services.h>
#include <tabulix/framework/version.h>

#include <tabulix/automation/application_provider.h>
#include <tabulix/automation/automation_error.h>
#include <tabulix/automation/connection.h>
#include <tabulix/automation/dispids.h>
#include <tabulix/automation/variant.h>

#include <tabulix/spreadsheet/embedded_spreadsheet.h>

#include <tabulix/data/base_folder.h>
#include <tabulix/data/csv_table.h>
#include <tabulix/data/data_classes.h>
#include <tabulix/data/data_error.h>
#include <tabulix/data/data_set.h>
#include <tabulix/data/database.h>
#include <tabulix/data/field.h>
#include <tabulix/data/field_classes.h>
#include <tabulix/data/memory_data_set.h>
#include <tabulix/data/odbc_query.h>
#include <tabulix/data/pg_query.h>
#include <tabulix/data/sqlite_query.h>
#include <tabulix/data/table.h>

#include <tabulix/component/atributos_casilla.h>
#include <tabulix/component/component_classes.h>
#include <tabulix/component/enumerations.h>
#include <tabulix/component/formula_tabulix.h>
#include <tabulix/component/tabulix.h>
#include <tabulix/component/tabulix_error.h>
