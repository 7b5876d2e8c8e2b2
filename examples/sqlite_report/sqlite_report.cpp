// Sales by region from an SQLite database into a workbook: a title, attribute sets for the
// title, headings and data, two summary lines and a column chart, saved as .xlsx.
#include <cstdio>
#include <exception>
#include <string>

#include <tabulix/tabulix.h>

using namespace tabulix;
using component::TLiniaContorno;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sqlite_report VENTAS.sqlite OUT.xlsx\n");
        return 2;
    }
    try {
        spreadsheet::installEmbeddedSpreadsheet();  // the spreadsheet the component drives

        data::TSQLiteQuery query;
        query.SetFileName(argv[1]);
        query.SQL().Add("SELECT region, enero, febrero FROM ventas ORDER BY region");
        query.Open();

        component::TTabulix report(nullptr);
        report.SetDatos(&query);
        report.Titulo = "VENTAS POR REGIÓN";
        report.NombreHoja = "Ventas";
        report.TituloFormato().Fuente().SetSize(16);
        report.TituloFormato().Fuente().SetStyle({framework::fsBold});
        report.CabeceraFormato().ColorFondo = framework::clSilver;
        report.CabeceraFormato().ColorFondoActivado = true;
        report.DatosFormato().LiniasContorno = {TLiniaContorno::lcIzquierda, TLiniaContorno::lcDerecha,
                                                TLiniaContorno::lcSuperior, TLiniaContorno::lcInferior};
        // Field;function;column;rows below the data;caption;caption side;alignment;own formula
        report.Formulas().Add("FEBRERO;4;C;1;TOTAL:;0;2;=SUM(#T_ENERO#)+SUM(#T_FEBRERO#)");
        report.Formulas().Add("FEBRERO;4;C;2;CON IVA:;0;2;=#F1#*1.21");
        report.TraspasarNuevoLibro();

        // Headings and data of the three columns, one series per month.
        const std::string first = report.Casilla(1, report.PrimeraFilaDatos() - 1);
        const std::string last = report.Casilla(3, report.UltimaFilaDatos());
        report.CrearGrafico("Grafico", first, last, component::TTipoGrafico::xlColumn,
                            component::TColumna_Fila::xlEnColumna, "Ventas", "Región", "Euros", "", 1, 1, true);

        report.GuardarLibro(argv[2]);
        std::printf("%s: rows %d to %d, total in %s\n", argv[2], report.PrimeraFilaDatos(),
                    report.UltimaFilaDatos(), report.CasillaFormula(1).c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sqlite_report: %s\n", e.what());
        return 1;
    }
}
