#pragma once
// A card terminal that approves or declines as scripted. Each transaction takes the
// next scripted outcome (the last one repeats; with none, everything is approved with
// generated numbers). Approved transactions stay unconfirmed ("intpos.NNN" files) until
// the card receipts are printed or the host cancels them.
#include <deque>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/event_pump.h"
#include "host/pos/card_terminal.h"
#include "host/pos/host_record.h"
#include "host/pos/tef_exchange_folder.h"

namespace recebimento::pos {

struct TefOutcome {
  bool approved = true;
  int result_code = 0;
  double discount = 0;
  std::string host_nsu;  // empty: generated
  std::string nsu;
  std::string bin = "411111";
  std::string brand_code;
  std::string brand_name;
  std::string authorization;
  std::string control;
  int installments = 0;
  std::string wallet_text;
  std::string institution;
  std::string reduced_receipt;
  double change = 0;  // change the terminal hands out (TEF change)
  int seconds = 0;    // how long the terminal works (the customer at the PIN pad)
};

struct TefConfig {
  std::deque<TefOutcome> outcomes;
  std::string last_transactions_file;  // "ultTef.cds" the dedicated TEF keeps; empty: none
  base::Variant pinpad_answer;         // DigitaCpfPinpad: [status, code, digits]
  bool finalize_ok = true;
  bool cancel_ok = true;
};

class SimulatedTef : public IntegratedTef, public DedicatedTef {
 public:
  SimulatedTef(TefConfig config, HostRecord& record, const base::Clock& clock, TefExchangeFolder& files);

  bool DoTef(const std::string& stIDESQUEMA, const std::string& letter, std::vector<std::string>& stlRetorno,
             double amount, double doVrAPagar, int& inCtrlCupomTef, int& inQtdeTef, TefApproval& approval) override;

  TefSharedVariables& Variables() override { return variables_; }
  bool CriaDedicado(const DedicatedTefRequest& request, double& amount, double& change,
                    DedicatedTefResult& result) override;
  bool FinalizaTransTef(bool confirm) override;
  bool CancelaTefDed(const std::string& ip, const std::string& store, const std::string& terminal,
                     base::Dataset& last_transactions, const std::string& stCDFILIAL, const std::string& text1,
                     const std::string& text2, const std::string& stIDTPTEF) override;
  bool ImprimeCupomTef(base::Dataset& last_transactions, const std::string& payment_form, int inIntTefErro,
                       int payment_rows) override;
  bool ImprimeComprovanteDotz(int inIDTIPOIMPFIS, const std::string& IDIMPRCUPTEFRED, const std::string& fiscal_flag,
                              double vr_tef) override;
  base::Variant DigitaCpfPinpad(const std::string& ip, const std::string& store, const std::string& terminal,
                                const std::string& stIDTPTEF, const std::string& cnpj, bool flag) override;

  // The pump the terminal's work waits through; without one the terminal answers at once.
  void SetPump(base::EventPump* pump) { pump_ = pump; }

  int Approved() const { return approved_; }
  int Declined() const { return declined_; }

 private:
  TefOutcome Next();
  std::string Generated(const std::string& given, const char* prefix) const;
  std::vector<std::string> Receipt(const TefOutcome& o, double amount, const std::string& host_nsu) const;
  void RememberLastTransaction(const std::string& host_nsu);
  // The terminal works `seconds` on the pump's clock; the screen's timers run meanwhile.
  void Work(int seconds);

  TefConfig config_;
  HostRecord& record_;
  const base::Clock& clock_;
  TefExchangeFolder& files_;
  base::EventPump* pump_ = nullptr;
  std::string last_answer_;  // answer file of the last approval not yet finalised
  TefSharedVariables variables_;
  int sequence_ = 0;
  int approved_ = 0;
  int declined_ = 0;
};

}  // namespace recebimento::pos
