// The REST frame's readers and converters: the field readers over a held reply (AME's
// consuming one, ClubPetro's on a copy, CRM Bonus's, Mercado Pago's), the amount texts,
// the AME bases, the status a reply carries, and the frame's variables.
#include <gtest/gtest.h>

#include "host/runtime/format.h"
#include "integrations/rest/frame_variables.h"
#include "integrations/rest/json_extractors.h"
#include "integrations/rest/number_text.h"
#include "integrations/rest/request_sequence.h"
#include "integrations/rest/rest_urls.h"

namespace recebimento::integrations {
namespace {

TEST(AmeReader, ReadsFieldsInReplyOrderAndLosesOnesAlreadyPassed) {
  std::string held =
      R"({"response_code":201,"id":"ord-1","name":"Venda","qrCodeLink":"https:\/\/qr\/ord-1","amount":1000})";
  EXPECT_EQ(retornaCampoJSONAme(held, "id"), "ord-1");
  EXPECT_EQ(retornaCampoJSONAme(held, "qrCodeLink"), R"(https:\/\/qr\/ord-1)");
  EXPECT_EQ(retornaCampoJSONAme(held, "amount"), "1000") << "a number comes as written";

  // The link standing before the id: once the id is read, the link is gone.
  std::string reversed = R"({"response_code":201,"qrCodeLink":"https://qr/1","id":"ord-2"})";
  EXPECT_EQ(retornaCampoJSONAme(reversed, "id"), "ord-2");
  EXPECT_EQ(retornaCampoJSONAme(reversed, "qrCodeLink"), "");
}

TEST(AmeReader, MatchesWholeMemberNamesOnlyAndMissingOnesAreEmpty) {
  std::string held = R"({"paid":"yes","idPedido":"9","status" : "AUTHORIZED","id":"pay-1"})";
  EXPECT_EQ(retornaCampoJSONAme(held, "status"), "AUTHORIZED") << "blanks around the colon";
  EXPECT_EQ(retornaCampoJSONAme(held, "id"), "pay-1") << "not inside \"paid\" nor \"idPedido\"";
  std::string other = R"({"a":"1"})";
  EXPECT_EQ(retornaCampoJSONAme(other, "token"), "");
  EXPECT_EQ(other, R"({"a":"1"})") << "a member not found consumes nothing";
  std::string escaped = R"({"msg":"say \"hi\"","x":"1"})";
  EXPECT_EQ(retornaCampoJSONAme(escaped, "msg"), R"(say \"hi\")");
}

TEST(ClubPetroReader, ReadsTheSameFieldTwiceAndInAnyOrder) {
  const std::string held = R"({"response_code":200,"saldo":"12,50","cpf":"12345678909"})";
  EXPECT_EQ(retornaCampoJSONClubPetro(held, "cpf"), "12345678909");
  EXPECT_EQ(retornaCampoJSONClubPetro(held, "saldo"), "12,50");
  EXPECT_EQ(retornaCampoJSONClubPetro(held, "saldo"), "12,50");
}

TEST(CrmBonusReader, KeepsQuotesAndCutsAtCommaOrAtTheBraceForTheBonusIds) {
  std::string held = R"({"response_code":200,"status":"ok","ids_bonus":[{"id":7},{"id":8}],"total":3})";
  EXPECT_EQ(retornaCampoJSONCRMBONUS(held, R"("status")"), R"("ok")");
  EXPECT_EQ(retornaCampoJSONCRMBONUS(held, R"("ids_bonus")"), R"([{"id":7)");
  EXPECT_EQ(retornaCampoJSONCRMBONUS(held, R"("total")"), "3") << "the last member ends at the brace";
  EXPECT_EQ(retornaCampoJSONCRMBONUS(held, R"("status")"), "") << "consumed";
}

TEST(MercadoPagoReader, ReadsMembersSubMembersAndOccurrences) {
  const std::string order =
      R"({"response_code":200,"id":111,"status":"closed","payments":[{"id":501,"status":"rejected"},)"
      R"({"id":502,"status":"approved","transaction_amount":12.5}],"items":[],"order_status":"paid"})";
  EXPECT_EQ(retornaCampoJSONMp(order, "order_status", "", 1), "paid");
  EXPECT_EQ(retornaCampoJSONMp(order, "payments", "id", 1), "501");
  EXPECT_EQ(retornaCampoJSONMp(order, "payments", "id", 0), "501") << "occurrence 0 counts as 1";
  EXPECT_EQ(retornaCampoJSONMp(order, "payments", "status", 2), "approved");
  EXPECT_EQ(retornaCampoJSONMp(order, "payments", "id", 9), "502") << "past the last: the last";
  EXPECT_EQ(retornaCampoJSONMp(order, "id", "", 2), "501") << "the members named id, in order";
  EXPECT_EQ(retornaCampoJSONMp(order, "items", "", 1), "") << "an empty list";
  EXPECT_EQ(retornaCampoJSONMp(order, "", "order_status", 1), "paid");
  EXPECT_EQ(retornaCampoJSONMp(order, "refunds", "", 1), "");

  const std::string refused = R"({"response_code":401,"message":"no","error":"unauthorized","status":401})";
  EXPECT_EQ(retornaCampoJSONMp(refused, "error", "", 1), "unauthorized");
  EXPECT_EQ(retornaCampoJSONMp(R"([{"response_code":500},<html>)", "error", "", 1), "") << "no JSON";
  EXPECT_EQ(retornaCampoJSONMp(std::string(5000, '[') + std::string(5000, ']'), "x", "", 1), "") << "too deep";
}

TEST(AmountTexts, ToFloatTakesEitherSeparatorAndRefusesTheRest) {
  EXPECT_EQ(ToFloat(""), 0.0);
  EXPECT_EQ(ToFloat("12.5"), 12.5);
  EXPECT_EQ(ToFloat("12,5"), ToFloat("12.5"));
  EXPECT_EQ(ToFloat("-0,01"), -0.01);
  for (const char* bad : {"1.234,56", "12a", " 12", "0x10", "inf", "nan", ",", "1e999"})
    EXPECT_THROW(ToFloat(bad), NumberConversionError) << bad;
}

TEST(AmountTexts, FormataFloatAlwaysWritesTwoDecimalsWithAPoint) {
  runtime::ScopedNumberLocale brazilian(runtime::BrazilianNumberLocale());
  EXPECT_EQ(FormataFloat(1234.5), "1234.50");
  EXPECT_EQ(FormataFloat(0), "0.00");
  EXPECT_EQ(FormataFloat(0.29), "0.29");
  EXPECT_EQ(FormataFloat(1000000), "1000000.00") << "no thousands separator";
}

TEST(Addresses, AmeBasesByEnvironmentAndCrmBonusPaths) {
  const AmeBases bases;
  EXPECT_EQ(getUrlAME("P", bases).substr(getUrlAME("P", bases).size() - 4), "/api");
  EXPECT_EQ(getUrlAME("D", bases).substr(getUrlAME("D", bases).size() - 4), "/api");
  for (const char* other : {"H", "", "p"}) {
    const std::string base = getUrlAME(other, bases);
    EXPECT_EQ(base.find('/', base.find("://") + 3), std::string::npos) << "homologation has no path: " << base;
  }
  AmeBases own;
  own.homologation = "http://127.0.0.1:9/ame/";
  EXPECT_EQ(getUrlAME("H", own), "http://127.0.0.1:9/ame");
  EXPECT_EQ(getUrlCRMBONUS("P"), "/getBalance");
  EXPECT_EQ(getUrlCRMBONUS("D"), "/bonusProcessing");
  EXPECT_EQ(getUrlCRMBONUS("X"), "/addTotalSales");
  EXPECT_EQ(EscapeUrlPart("a/b?c=d&e f"), "a%2Fb%3Fc%3Dd%26e%20f");
}

TEST(ReplyStatus, IsTheStatusTheRequestModuleWroteFirst) {
  EXPECT_EQ(ResponseCode(R"({"response_code":204})"), "204");
  EXPECT_TRUE(HasResponseCode(R"({"response_code":201,"id":"x"})", 201));
  EXPECT_FALSE(HasResponseCode(R"({"response_code":201,"id":"x"})", 200));
  EXPECT_FALSE(HasResponseCode(R"([{"response_code":500},<p>"response_code":200</p>])", 200))
      << "a body's own text never passes for the status";
  EXPECT_FALSE(HasResponseCode("", 200));
  EXPECT_EQ(EscapeQuotes(R"({"a":"b"})"), R"({\"a\":\"b\"})");
}

TEST(FrameVariables, PrepareCreatesWhatIsMissingAndReleaseFreesAndEmpties) {
  AmeFrame ame;
  ame.stMensagemAme = "old";
  ame.stMensagemAmeAux = "old detail";
  ame.preparaVariaveisAme();
  ASSERT_TRUE(ame.ameBody && ame.stlAmeBody && ame.stlAmeHeader);
  EXPECT_EQ(ame.arResultAme.AsArray().size(), 2u);
  ame.insereBodyAme("grant_type", "x");
  ame.insereBodyAme("grant_type", "client_credentials");
  ame.insereHeaderAme("Accept", "*/*");
  EXPECT_EQ(ame.stlAmeBody->Entries(), std::vector<std::string>{"grant_type=client_credentials"});
  NameValueList* kept = ame.stlAmeBody.get();
  ame.preparaVariaveisAme();
  EXPECT_EQ(ame.stlAmeBody.get(), kept) << "an existing list is reused unchanged";
  EXPECT_EQ(ame.stlAmeBody->Value("grant_type"), "client_credentials");
  ame.desalocaVariaveisAme();
  EXPECT_FALSE(ame.ameBody || ame.stlAmeBody || ame.stlAmeHeader);
  EXPECT_EQ(ame.stMensagemAme, "");
  EXPECT_EQ(ame.stMensagemAmeAux, "");

  ClubPetroFrame club;
  club.insereBodyClubPetro("cpf", "1");  // before its prepare: kept, not lost
  club.preparaVariaveisClubPetro();
  EXPECT_EQ(club.stlClubPetroBody->Value("cpf"), "1");
  CrmBonusFrame crm;
  crm.preparaVariaveisCRMBONUS();
  crm.desalocaVariaveisCRMBONUS();
  EXPECT_FALSE(crm.CRMBONUSBody);
}

}  // namespace
}  // namespace recebimento::integrations
