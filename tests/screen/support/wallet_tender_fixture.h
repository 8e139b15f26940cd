#pragma once
// Wallet tenders on the screen's parts: the tender table gains AME (kind "I", code 010)
// and Mercado Pago QR (kind "J", code 011); the branch's wallet settings in the store
// point at fake AME and Mercado Pago services on 127.0.0.1.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "datamodule/store_connection.h"
#include "screen/support/tender_selection_fixture.h"
#include "support/fake_wallet_services.h"
#include "support/store_fixture.h"

namespace recebimento::testing {

class WalletTenderTest : public TenderSelectionTest {
 protected:
  void SetUp() override {
    TenderSelectionTest::SetUp();
    // A store with the demo branch (0001) and register (001), and its wallet settings.
    const std::string store = SqliteStoreAt(dir_ / "wallets.db", true);
    datamodule::StoreConnection admin([store] { return store; });
    admin.ExecuteRaw(
        "UPDATE PARAVEND SET DSLOGINAME = 'prod-id', DSSENHAAME = 'prod-s3cr3t', DSLOGINAMEHOM = 'hom-id', "
        "DSSENHAAMEHOM = 'hom-s3cr3t', VRCASHBACK = 5, IDAMBIENTEAME = 'H', DSURLSERVAME = '" +
        ame_.CallbackBase() + "', DSURLAPIAMEHOM = '" + ame_.ApiBase() +
        "', DSACCESSTOKENMP = 'APP_USR-t0k3n', DSUSERIDMP = '123456', DSIDSPONSORMP = '987654', DSURLAPIMP = '" +
        mp_.ApiBase() + "' WHERE CDFILIAL = '0001'");
    admin.Close();
    UseStore(store, &answers_);
    par().stCDFILIAL = "0001";
    par().stCDCAIXA = "001";
    par().stIDTIPOIMPNF3 = "2";
    AddTender("010", "AME", "I", "", "");
    AddTender("011", "MERCADO PAGO", "J", "", "");
    parts().wallets.LoadSettings();
  }

  // A store setting of the branch, changed, and the settings loaded again.
  void StoreSetting(const std::string& assignment) {
    const std::string store = "sqlite:" + (dir_ / "wallets.db").string();
    datamodule::StoreConnection admin([store] { return store; });
    admin.ExecuteRaw("UPDATE PARAVEND SET " + assignment + " WHERE CDFILIAL = '0001'");
    admin.Close();
    parts().wallets.LoadSettings();
  }

  // The operator presses Escape when the screen next waits.
  void WillPressEscape() {
    pump_.Push(
        [this] {
          int key = 27;
          parts().keyboard.KeyDown(key, false, false, false);
        },
        "Escape");
  }

  bool Shown(const std::string& text) const {
    for (const auto& m : Messages())
      if (m.find(text) != std::string::npos) return true;
    return false;
  }

  // Journal entries still open.
  size_t Pending() {
    const integrations::WalletJournal* journal = parts().wallets.Journal();
    return journal ? journal->Entries().size() : 0;
  }

  // Whether a file the run wrote under the host's data folder holds `text`.
  bool LoggedAnywhere(const std::string& text) const { return !FilesHolding(dir_ / "Dados", text).empty(); }
  // The files anywhere under the host's folder (the store's database too) that hold `text`.
  std::vector<std::string> FilesUnderHostHolding(const std::string& text) const {
    return FilesHolding(dir_.path(), text);
  }

  static std::vector<std::string> FilesHolding(const std::filesystem::path& folder, const std::string& text) {
    std::vector<std::string> found;
    if (!std::filesystem::exists(folder)) return found;
    for (const auto& file : std::filesystem::recursive_directory_iterator(folder)) {
      if (!file.is_regular_file()) continue;
      std::ifstream in(file.path(), std::ios::binary);
      const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (content.find(text) != std::string::npos) found.push_back(file.path().string());
    }
    return found;
  }

  FakeAme ame_;
  FakeMercadoPago mp_;
};

}  // namespace recebimento::testing
