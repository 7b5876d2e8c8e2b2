// PDemoTabulix: starts the application, shows the demonstration window and runs until it closes.

#include <QApplication>

#include "demo/demo_components.h"
#include "demo/demo_window.h"
#include "spreadsheet/embedded_spreadsheet.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("PDemoTabulix");
    tabulix::spreadsheet::installEmbeddedSpreadsheet();
    tabulix::demo::TForm1 form(tabulix::demo::DefaultFormFile());
    form.show();
    return QApplication::exec();
}
