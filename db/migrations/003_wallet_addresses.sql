-- The wallet providers' addresses, per branch, for stores that use another environment
-- than the providers' public ones (a provider's test environment, a local fake service).
-- Empty: the public endpoints. DSURLAPIAME is the production base, DSURLAPIAMEDEV the
-- development base (both end in "/api"), DSURLAPIAMEHOM the homologation base (no path);
-- DSURLAPIMP is the Mercado Pago API endpoint.
ALTER TABLE PARAVEND ADD COLUMN DSURLAPIAME VARCHAR(200);
ALTER TABLE PARAVEND ADD COLUMN DSURLAPIAMEDEV VARCHAR(200);
ALTER TABLE PARAVEND ADD COLUMN DSURLAPIAMEHOM VARCHAR(200);
ALTER TABLE PARAVEND ADD COLUMN DSURLAPIMP VARCHAR(200);
