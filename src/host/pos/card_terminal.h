#pragma once
// Card payment: the integrated TEF of Gpe00001 (DoTef) and the dedicated TEF package
// Tef00000 with its shared variables.
#include <string>
#include <vector>

#include "base/dataset.h"
#include "base/variant.h"

namespace recebimento::pos {

// What an approved integrated transaction hands back.
struct TefApproval {
  double discount = 0;
  std::string host_nsu;       // CDNSUHOSTTEF
  std::string brand_code;     // matched against CDBANCARTCR
  std::string authorization;  // NRAUTORIZATEF
  std::string control;        // NRCONTROLTEF
};

class IntegratedTef {
 public:
  virtual ~IntegratedTef() = default;
  // letter: "C" credit, "D" debit, "V" voucher debit, "Q" cheque consultation.
  // inCtrlCupomTef and inQtdeTef are kept by the host between calls. True = approved.
  virtual bool DoTef(const std::string& stIDESQUEMA, const std::string& letter, std::vector<std::string>& stlRetorno,
                     double amount, double doVrAPagar, int& inCtrlCupomTef, int& inQtdeTef, TefApproval& approval) = 0;
};

struct DedicatedTefRequest {
  std::string function_list;  // "[10;15;31;32;33;40]", "112", "[]", ...
  int operation = 0;          // 3 credit, 2 debit, 4 voucher debit, 122 wallet, 1 cheque
  std::string stDSENDIPSITEF, stCDLOJATEF, stCDTERTEF, stCDPORTATEF, stCDESTTEF, stIDTPTEF;
  double doVrTotal = 0;
  std::string stNrComandaCurto;
  std::string date;  // YYYYMMDD
  std::string time;  // HHMMSS
  std::string operator_label = "Operador";
  std::string stIDESQUEMA;
  std::string IDSOLIQTPARC;
  int installments = 0;
  std::string stNRCNPJLOJA, stNRCNPJTEFHOUSE, stCDTOKENTLS, stCDTPCOMUNTLS, stCDTPPROXYTLS, stCDENPROXYTLS;
};

struct DedicatedTefResult {
  std::vector<std::string> stlRetorno;
  std::string nsu;            // CDNSUTEF
  std::string host_nsu;       // CDNSUHOSTTEF
  std::string control;        // NRCONTROLTEF
  std::string authorization;  // NRAUTORIZATEF
  std::string bin;            // NRCARTBANCO
  std::string brand_code;
  std::string brand_name;  // NMBANDTEF
  int installments = 0;
  std::string wallet_text;  // DSCARTDIGITAL
  std::string institution;  // CDINSTCAR
  double discount = 0;
  int result_code = 0;
  std::string reduced_receipt;
};

// The variables Tef00000 shares with its callers.
struct TefSharedVariables {
  std::string DsDirTef;                // the dedicated TEF's exchange folder
  std::vector<std::string> stlPriVia;  // first copy of the card receipt
  std::string stValor;                 // an amount text (the CRM Bonus closing overwrites it)
  std::string stCdCaixa;               // the cash register, read by the prepaid-card service
  double Rev_doTrocoTef = 0;           // change given through the TEF
};

class DedicatedTef {
 public:
  virtual ~DedicatedTef() = default;
  virtual TefSharedVariables& Variables() = 0;
  // amount may be changed by the terminal; change is Rev_doTrocoTef (credit) or the
  // screen's doVrTroco (debit). True = approved.
  virtual bool CriaDedicado(const DedicatedTefRequest& request, double& amount, double& change,
                            DedicatedTefResult& result) = 0;
  virtual bool FinalizaTransTef(bool confirm) = 0;
  virtual bool CancelaTefDed(const std::string& ip, const std::string& store, const std::string& terminal,
                             base::Dataset& last_transactions, const std::string& stCDFILIAL, const std::string& text1,
                             const std::string& text2, const std::string& stIDTPTEF) = 0;
  virtual bool ImprimeCupomTef(base::Dataset& last_transactions, const std::string& payment_form, int inIntTefErro,
                               int payment_rows) = 0;
  virtual bool ImprimeComprovanteDotz(int inIDTIPOIMPFIS, const std::string& IDIMPRCUPTEFRED,
                                      const std::string& fiscal_flag, double vr_tef) = 0;
  // Element 0 the PIN pad's status (0 = answered), 1 a code, 2 the digits typed.
  virtual base::Variant DigitaCpfPinpad(const std::string& ip, const std::string& store, const std::string& terminal,
                                        const std::string& stIDTPTEF, const std::string& cnpj, bool flag) = 0;
};

}  // namespace recebimento::pos
