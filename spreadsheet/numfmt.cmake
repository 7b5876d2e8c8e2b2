# Number formats, text metrics and column-width maths of the embedded spreadsheet (tabulix_numfmt).
