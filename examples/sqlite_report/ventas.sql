CREATE TABLE ventas (region VARCHAR(20), enero REAL, febrero REAL);
INSERT INTO ventas VALUES ('Norte', 1250.50, 1310.00);
INSERT INTO ventas VALUES ('Sur', 980.25, 1022.75);
INSERT INTO ventas VALUES ('Este', 1432.00, 1398.40);
INSERT INTO ventas VALUES ('Oeste', 760.80, 845.10);
