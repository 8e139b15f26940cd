#pragma once
// Where the host program keeps its files. The host names its program folder once (the
// folder of its executable); every file the payment step reads or writes is found from
// here: the parameters file, the reference files under the data-file prefix, the daily
// logs, the card terminal's exchange folders.
#include <optional>
#include <string>

#include "base/datetime.h"

namespace recebimento::pos {

class HostPaths {
 public:
  // The current folder.
  HostPaths();
  // `card_request_dir` and `card_answer_dir` are the CHART exchange folders; empty texts
  // give <host>/Teftx and <host>/Tefrx.
  explicit HostPaths(std::string host_folder, std::string card_request_dir = "", std::string card_answer_dir = "");

  // The host program's folder ("." when the host named none).
  const std::string& HostFolder() const { return host_folder_; }

  // A path as the host writes it ("\Dados\Cadastros\X.cds") under the host folder.
  // base::PathError when it would climb out of it.
  std::string Under(const std::string& spec_path) const;
  // The same, matching each part to what exists ignoring case; empty when nothing does.
  std::optional<std::string> Find(const std::string& spec_path) const;

  // <host>/Dados.
  std::string DataFolder() const;
  // A reference file named by the data-file prefix of the configuration (DSDIRCAD, a
  // folder text such as "C:\Zem\") followed by `rest`, under the host folder.
  std::string Reference(const std::string& dsdircad, const std::string& rest) const;
  // A folder of the configuration: absolute as given, else under the host folder. Empty
  // when the text is empty or would climb out of the host folder.
  std::string ConfiguredFolder(const std::string& folder_text) const;
  // The folder of a daily log: <host>/Dados/<name>/yyyy/MM for `day`.
  std::string LogFolder(const std::string& name, const base::DateTime& day) const;

  // The CHART card software's exchange folders: requests out, answers in.
  const std::string& CardRequestFolder() const { return card_request_dir_; }
  const std::string& CardAnswerFolder() const { return card_answer_dir_; }

 private:
  std::string host_folder_;
  std::string card_request_dir_;
  std::string card_answer_dir_;
};

}  // namespace recebimento::pos
