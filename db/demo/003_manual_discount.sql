-- The demo store's discount button goes straight to the manual discount: a store that asks
-- for a discount coupon first ("S") gets the coupon panel before it.
UPDATE PARAMGERAL SET IDUTCUPOMDESC = 'N' WHERE CDPARAMGERAL = '01';
