-- What an item line of the fiscal receipt needs of a product the screen itself sells (the
-- service and delivery fees): the code the receipt prints and the unit of sale.
ALTER TABLE PRODUTO ADD COLUMN CDARVPROD VARCHAR(20);
ALTER TABLE PRODUTO ADD COLUMN SGUNIDADE VARCHAR(6);
