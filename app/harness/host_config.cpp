#include "host_config.h"

#include <set>

#include "base/text.h"
#include "json_text.h"
#include "json_values.h"

namespace recebimento::harness {

using json = nlohmann::ordered_json;

namespace {

// Refuses members a section does not know, so a typo never passes silently.
void Known(const json& section, const std::string& where, const std::set<std::string>& keys) {
  if (!section.is_object()) throw InputError(where + ": expected an object");
  for (const auto& [key, v] : section.items())
    if (!keys.count(key)) throw InputError(where + "." + base::Excerpt(key) + ": unknown member");
}

template <typename T>
T Get(const json& section, const std::string& key, const std::string& where, T fallback) {
  if (!section.contains(key)) return fallback;
  const json& v = section[key];
  try {
    if constexpr (std::is_same_v<T, bool>) {
      if (!v.is_boolean()) throw InputError("");
    } else if constexpr (std::is_same_v<T, std::string>) {
      if (!v.is_string()) throw InputError("");
    } else if constexpr (std::is_integral_v<T>) {
      if (!v.is_number_integer()) throw InputError("");
    } else {
      if (!v.is_number()) throw InputError("");
    }
    return v.get<T>();
  } catch (const std::exception&) {
    throw InputError(where + "." + key + ": " + JsonExcerpt(v) + " has the wrong type");
  }
}

pos::TefOutcome ParseOutcome(const json& o, const std::string& w) {
  Known(o, w,
        {"approved", "result_code", "discount", "host_nsu", "nsu", "bin", "brand_code", "brand_name", "authorization",
         "control", "installments", "wallet_text", "institution", "reduced_receipt", "change", "seconds"});
  pos::TefOutcome t;
  t.approved = Get(o, "approved", w, true);
  t.result_code = Get(o, "result_code", w, 0);
  t.discount = Get(o, "discount", w, 0.0);
  t.host_nsu = Get(o, "host_nsu", w, std::string());
  t.nsu = Get(o, "nsu", w, std::string());
  t.bin = Get(o, "bin", w, t.bin);
  t.brand_code = Get(o, "brand_code", w, std::string());
  t.brand_name = Get(o, "brand_name", w, std::string());
  t.authorization = Get(o, "authorization", w, std::string());
  t.control = Get(o, "control", w, std::string());
  t.installments = Get(o, "installments", w, 0);
  t.wallet_text = Get(o, "wallet_text", w, std::string());
  t.institution = Get(o, "institution", w, std::string());
  t.reduced_receipt = Get(o, "reduced_receipt", w, std::string());
  t.change = Get(o, "change", w, 0.0);
  t.seconds = Get(o, "seconds", w, 0);
  if (t.seconds < 0 || t.seconds > 3600) throw InputError(w + ".seconds: from 0 to 3600");
  return t;
}

std::vector<std::string> Lines(const json& section, const std::string& key, const std::string& w) {
  std::vector<std::string> lines;
  if (!section.contains(key)) return lines;
  const json& v = section[key];
  if (!v.is_array()) throw InputError(w + "." + key + ": expected a list of lines");
  for (const json& line : v) {
    if (!line.is_string()) throw InputError(w + "." + key + ": " + JsonExcerpt(line) + " is not a line of text");
    lines.push_back(line.get<std::string>());
  }
  return lines;
}

// The CHART card software and its exchange folders.
void ParseChart(const json& c, const std::string& w, pos::SimulatorConfig& config) {
  Known(c, w,
        {"running", "request_dir", "answer_dir", "takes_after_ms", "answer", "answers_after_ms", "authorization",
         "card_number", "approval_lines", "receipt"});
  pos::ChartConfig chart;
  chart.running = Get(c, "running", w, true);
  config.card_request_dir = Get(c, "request_dir", w, std::string());
  config.card_answer_dir = Get(c, "answer_dir", w, std::string());
  chart.takes_after_ms = Get(c, "takes_after_ms", w, chart.takes_after_ms);
  chart.answers_after_ms = Get(c, "answers_after_ms", w, chart.answers_after_ms);
  if (chart.takes_after_ms < 0 || chart.answers_after_ms < 0)
    throw InputError(w + ": takes_after_ms and answers_after_ms are milliseconds, 0 or more");
  chart.answer = Get(c, "answer", w, chart.answer);
  if (chart.answer != "approved" && chart.answer != "cancelled" && chart.answer != "both" && chart.answer != "none")
    throw InputError(w + ".answer: '" + base::Excerpt(chart.answer) +
                     "' is none of \"approved\", \"cancelled\", \"both\", \"none\"");
  chart.authorization = Get(c, "authorization", w, chart.authorization);
  chart.card_number = Get(c, "card_number", w, chart.card_number);
  chart.approval_lines = Lines(c, "approval_lines", w);
  chart.receipt = Lines(c, "receipt", w);
  config.chart = chart;
}

pos::ServiceAnswer ParseServiceAnswer(const json& a, const std::string& w) {
  Known(a, w, {"ok", "result"});
  pos::ServiceAnswer s;
  s.ok = Get(a, "ok", w, true);
  if (a.contains("result")) {
    // A result may carry a dataset: {"fields", "rows"} or a list of row objects.
    const json& r = a["result"];
    if (r.is_object()) {
      base::Dataset ds;
      LoadDataset(ds, r, w + ".result");
      s.result = base::Variant(ds.Data());
    } else {
      s.result = JsonToVariant(r, w + ".result");
    }
  }
  return s;
}

}  // namespace

pos::DialogAnswer ParseDialogAnswer(const json& answer, const std::string& where, const std::string& kind) {
  pos::DialogAnswer a;
  if (answer.is_null()) {
    a.cancelled = true;
  } else if (answer.is_object()) {
    for (const auto& [k, v] : answer.items()) a.fields[k] = JsonToVariant(v, where + "." + k);
    const std::string misfit = pos::CheckAnswerFields(kind, a.fields);
    if (!misfit.empty()) throw InputError(where + ": " + misfit);
  } else {
    a.value = JsonToVariant(answer, where);
  }
  return a;
}

pos::SimulatorConfig ParseHostConfig(const json& host, const std::string& host_dir) {
  pos::SimulatorConfig c;
  c.host_dir = host_dir;
  Known(host, "host",
        {"printer", "drawer", "display", "tef", "chart", "access", "services", "prices", "cest_ncm", "dialogs",
         "currency_rates"});

  if (host.contains("printer")) {
    const json& p = host["printer"];
    const std::string w = "host.printer";
    Known(p, w,
          {"next_receipt", "next_counter", "serial", "business_date", "receipt_open", "journal", "header", "fail"});
    c.printer.next_receipt = Get(p, "next_receipt", w, c.printer.next_receipt);
    c.printer.next_counter = Get(p, "next_counter", w, c.printer.next_counter);
    c.printer.serial = Get(p, "serial", w, c.printer.serial);
    c.printer.business_date = Get(p, "business_date", w, std::string());
    if (!c.printer.business_date.empty() && !base::DateTime::Parse(c.printer.business_date))
      throw InputError(w + ".business_date: '" + base::Excerpt(c.printer.business_date) + "' is not a date");
    c.printer.receipt_open = Get(p, "receipt_open", w, false);
    c.printer.journal_path = Get(p, "journal", w, std::string());
    if (p.contains("header")) {
      const json& h = p["header"];
      if (!h.is_array()) throw InputError(w + ".header: expected a list of lines");
      for (size_t i = 0; i < h.size(); ++i) {
        if (!h[i].is_string()) throw InputError(w + ".header[" + std::to_string(i) + "]: expected a text");
        c.printer.header.push_back(h[i].get<std::string>());
      }
    }
    if (p.contains("fail")) {
      Known(p["fail"], w + ".fail", pos::PrinterOperationsThatFail());
      for (const auto& [op, nth] : p["fail"].items()) c.printer_failures[op] = Get(p["fail"], op, w + ".fail", 0);
    }
  }
  if (host.contains("drawer")) {
    const json& d = host["drawer"];
    Known(d, "host.drawer", {"open", "closes_itself"});
    c.drawer.open = Get(d, "open", "host.drawer", false);
    c.drawer.closes_itself = Get(d, "closes_itself", "host.drawer", true);
  }
  if (host.contains("display")) {
    const json& d = host["display"];
    Known(d, "host.display", {"width", "lines", "keyboard"});
    c.display.width = Get(d, "width", "host.display", c.display.width);
    c.display.lines = Get(d, "lines", "host.display", c.display.lines);
    c.display.keyboard_present = Get(d, "keyboard", "host.display", false);
  }
  if (host.contains("tef")) {
    const json& t = host["tef"];
    const std::string w = "host.tef";
    Known(t, w,
          {"outcomes", "pinpad", "last_transactions_file", "exchange_dir", "pending_dir", "finalize_ok", "cancel_ok"});
    if (t.contains("outcomes")) {
      if (!t["outcomes"].is_array()) throw InputError(w + ".outcomes: expected a list");
      for (size_t i = 0; i < t["outcomes"].size(); ++i)
        c.tef.outcomes.push_back(ParseOutcome(t["outcomes"][i], w + ".outcomes[" + std::to_string(i) + "]"));
    }
    if (t.contains("pinpad")) c.tef.pinpad_answer = JsonToVariant(t["pinpad"], w + ".pinpad");
    c.tef.last_transactions_file = Get(t, "last_transactions_file", w, std::string());
    c.tef_exchange_dir = Get(t, "exchange_dir", w, std::string());
    c.tef_pending_dir = Get(t, "pending_dir", w, std::string());
    c.tef.finalize_ok = Get(t, "finalize_ok", w, true);
    c.tef.cancel_ok = Get(t, "cancel_ok", w, true);
  }
  if (host.contains("chart")) ParseChart(host["chart"], "host.chart", c);
  if (host.contains("access")) {
    const json& a = host["access"];
    const std::string w = "host.access";
    Known(a, w, {"rights", "default", "log"});
    c.access.default_right = Get(a, "default", w, c.access.default_right);
    c.access.log_path = Get(a, "log", w, std::string());
    if (a.contains("rights")) {
      const json& r = a["rights"];
      if (!r.is_object()) throw InputError(w + ".rights: expected an object of rights by access code");
      for (const auto& [code, right] : r.items()) {
        int number = 0;
        try {
          size_t used = 0;
          number = std::stoi(code, &used);
          if (used != code.size()) throw InputError("");
        } catch (const std::exception&) {
          throw InputError(w + ".rights." + base::Excerpt(code) + ": an access code is a whole number");
        }
        if (!right.is_string() || right.get<std::string>().empty())
          throw InputError(w + ".rights." + base::Excerpt(code) + ": expected \"S\", \"N\" or a supervisor code");
        c.access.rights[number] = right.get<std::string>();
      }
    }
  }
  if (host.contains("services")) {
    const json& s = host["services"];
    if (!s.is_object()) throw InputError("host.services: expected an object of answers by operation");
    for (const auto& [key, answers] : s.items()) {
      const std::string w = "host.services." + key;
      if (answers.is_array()) {
        for (size_t i = 0; i < answers.size(); ++i)
          c.services.answers[key].push_back(ParseServiceAnswer(answers[i], w + "[" + std::to_string(i) + "]"));
      } else {
        c.services.answers[key].push_back(ParseServiceAnswer(answers, w));
      }
    }
  }
  if (host.contains("prices")) {
    const json& p = host["prices"];
    if (!p.is_object()) throw InputError("host.prices: expected an object of prices by product");
    for (const auto& [product, price] : p.items()) {
      const std::string w = "host.prices." + product;
      Known(price, w, {"VRPRECO", "VRPRECOCLIE", "VRDESCONTO", "VRACRESCIMO"});
      c.services.prices[product] = {Get(price, "VRPRECO", w, 0.0), Get(price, "VRPRECOCLIE", w, 0.0),
                                    Get(price, "VRDESCONTO", w, 0.0), Get(price, "VRACRESCIMO", w, 0.0)};
    }
  }
  if (host.contains("cest_ncm")) {
    const json& p = host["cest_ncm"];
    if (!p.is_object()) throw InputError("host.cest_ncm: expected an object of [CEST, NCM] by product");
    for (const auto& [product, codes] : p.items()) {
      if (!codes.is_array() || codes.size() != 2 || !codes[0].is_string() || !codes[1].is_string())
        throw InputError("host.cest_ncm." + product + ": expected [\"CEST\", \"NCM\"]");
      c.services.cest_ncm[product] = {codes[0].get<std::string>(), codes[1].get<std::string>()};
    }
  }
  if (host.contains("dialogs")) {
    const json& d = host["dialogs"];
    if (!d.is_object()) throw InputError("host.dialogs: expected an object of default answers by dialog");
    for (const auto& [kind, answer] : d.items())
      c.dialog_defaults[kind] = ParseDialogAnswer(answer, "host.dialogs." + kind, kind);
  }
  if (host.contains("currency_rates")) {
    base::Dataset rates;
    LoadDataset(rates, host["currency_rates"], "host.currency_rates");
    c.currency_rates = base::Variant(rates.Data());
  }
  return c;
}

}  // namespace recebimento::harness
