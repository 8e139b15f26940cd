-- Numbers a register took from a counter (sale and external numbers; NFC-e numbers are
-- kept in INUTILIZANFCE) with what became of them: "P" reserved, "U" used by a recorded
-- sale. A number still "P" after its sale's call ended belongs to a call that died half
-- way: the next call of the register reports it so it can be voided.
CREATE TABLE NUMERORESERVADO (
  CDCONTADOR VARCHAR(100) NOT NULL,
  NRRESERVADO VARCHAR(30) NOT NULL,
  CDFILIAL VARCHAR(4) NOT NULL,
  CDCAIXA VARCHAR(4) NOT NULL,
  DTRESERVA TIMESTAMP,
  IDSTATUSRES VARCHAR(1) NOT NULL,
  DTUSO TIMESTAMP,
  PRIMARY KEY (CDCONTADOR, NRRESERVADO)
);

CREATE INDEX IX_NUMERORESERVADO_CAIXA ON NUMERORESERVADO (CDFILIAL, CDCAIXA, IDSTATUSRES);

CREATE INDEX IX_INUTILIZANFCE_STATUS ON INUTILIZANFCE (CDFILIAL, CDCAIXA, IDSTATUSINUT);
