-- The fee products' receipt codes and units, and the product that carries the part of a
-- service fee above 10 % of the sale.
UPDATE PRODUTO SET CDARVPROD = CDPRODUTO, SGUNIDADE = 'UN';
INSERT INTO PRODUTO (CDPRODUTO, NMPRODUTO, CDIMPOSTO, CDCSTICMS, CDCFOPPFIS, CDCEST, CDCLASFISC, CDCSTPISCOF, VRALIQPIS, VRALIQCOFINS, CDARVPROD, SGUNIDADE) VALUES ('9005', 'Taxa de Serviço Excedente', 'ISS', '41', '5102', NULL, '00000000', '49', 0, 0, '9005', 'UN');
