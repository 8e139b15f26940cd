#include "base/dataset.h"

#include <gtest/gtest.h>

namespace recebimento::base {
namespace {

// A small tender table: code, name, kind, button number.
Dataset Tenders() {
  Dataset ds("cdsReceb");
  ds.AddField("CDTIPORECE", FieldType::String, 3);
  ds.AddField("NMTIPORECE", FieldType::String, 10);
  ds.AddField("IDTIPORECE", FieldType::String, 1);
  ds.AddField("NRBUTTON", FieldType::Integer);
  ds.CreateDataSet();
  ds.AppendRecord({"001", "Dinheiro", "4", 1});
  ds.AppendRecord({"002", "Crédito", "1", 2});
  ds.AppendRecord({"003", "Débito", "2", 3});
  ds.AppendRecord({"004", "Cheque", "3", 4});
  return ds;
}

std::vector<std::string> Codes(Dataset& ds) {
  std::vector<std::string> out;
  for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.FieldByName("CDTIPORECE").AsString());
  return out;
}

TEST(DatasetCursorTest, EdgesOfTheCursor) {
  Dataset ds = Tenders();
  ds.First();
  EXPECT_TRUE(ds.Bof());
  EXPECT_FALSE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 1);
  ds.Prior();  // already first: stays, Bof
  EXPECT_TRUE(ds.Bof());
  EXPECT_EQ(ds.RecNo(), 1);
  ds.Last();
  EXPECT_TRUE(ds.Eof());
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "004");
  ds.Next();  // past the end: stays on the last row
  EXPECT_EQ(ds.RecNo(), 4);
  ds.Prior();
  EXPECT_FALSE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 3);
  ds.SetRecNo(2);
  EXPECT_EQ(ds.FieldByName("cdtiporece").AsString(), "002");
  EXPECT_THROW(ds.SetRecNo(5), DatasetError);
  EXPECT_EQ(ds.RecNo(), 2);
  int visited = 0;
  for (ds.Last(); !ds.Bof(); ds.Prior()) ++visited;
  EXPECT_EQ(visited, 4);
}

TEST(DatasetCursorTest, EmptyAndClosedDatasetsReadAsNull) {
  Dataset ds("cdsVazio");
  ds.AddField("VRMOVIVEND", FieldType::Float);
  EXPECT_FALSE(ds.Active());
  EXPECT_TRUE(ds.Eof());
  EXPECT_TRUE(ds.FieldByName("VRMOVIVEND").IsNull());
  EXPECT_THROW(ds.First(), DatasetError);
  ds.CreateDataSet();
  EXPECT_TRUE(ds.Eof() && ds.Bof());
  EXPECT_EQ(ds.RecNo(), 0);
  EXPECT_EQ(ds.FieldByName("VRMOVIVEND").AsFloat(), 0);
  EXPECT_THROW(ds.GetBookmark(), DatasetError);
  EXPECT_THROW(ds.Delete(), DatasetError);
  EXPECT_THROW(Dataset("x").Open(), DatasetError);
}

TEST(DatasetFieldTest, MissingFieldErrorNamesFieldAndDataset) {
  Dataset ds = Tenders();
  try {
    ds.FieldByName("VRCOTACAO");
    FAIL();
  } catch (const DatasetError& e) {
    EXPECT_NE(std::string(e.what()).find("VRCOTACAO"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("cdsReceb"), std::string::npos);
  }
  EXPECT_FALSE(ds.FindField("VRCOTACAO").has_value());
  EXPECT_THROW(ds.Fields(4), DatasetError);
  EXPECT_THROW(ds.AddField("X", FieldType::String), DatasetError);  // open
  Dataset dup;
  dup.AddField("A", FieldType::String);
  EXPECT_THROW(dup.AddField("a", FieldType::Integer), DatasetError);
}

TEST(DatasetFieldTest, ValuesAreConvertedToTheFieldTypeAndTextsCutByCharacters) {
  Dataset ds("cdsTipos");
  ds.AddField("NM", FieldType::String, 5);
  ds.AddField("QT", FieldType::Integer);
  ds.AddField("VR", FieldType::Float);
  ds.AddField("ID", FieldType::Boolean);
  ds.AddField("DT", FieldType::DateTime);
  ds.CreateDataSet();
  ds.Append();
  ds.FieldByName("NM").SetAsString("Açaí com granola");
  ds.FieldByName("QT").SetAsString("7");
  ds.FieldByName("VR").SetAsString("12,34");
  ds.FieldByName("ID").SetAsString("True");
  ds.FieldByName("DT").SetAsString("2026-12-06T12:00:00");
  ds.Post();
  EXPECT_EQ(ds.FieldByName("NM").AsString(), "Açaí ");
  EXPECT_EQ(ds.FieldByName("QT").Value().kind(), Variant::Kind::Integer);
  EXPECT_DOUBLE_EQ(ds.FieldByName("VR").AsFloat(), 12.34);
  EXPECT_TRUE(ds.FieldByName("ID").AsBoolean());
  EXPECT_EQ(ds.FieldByName("DT").AsDateTime(), DateTime::FromYMD(2026, 12, 6, 12));
  ds.Edit();
  ds.FieldByName("QT").SetAsString("");  // blank in a number field is Null
  EXPECT_THROW(ds.FieldByName("VR").SetAsString("doze"), DatasetError);
  ds.Post();
  EXPECT_TRUE(ds.FieldByName("QT").IsNull());
  EXPECT_DOUBLE_EQ(ds.FieldByName("VR").AsFloat(), 12.34);  // the bad write changed nothing
  ds.Edit();
  ds.FieldByName("NM").SetAsString("Pão");
  ds.FieldByName("NM").Clear();
  ds.Post();
  EXPECT_TRUE(ds.FieldByName("NM").IsNull());
}

TEST(DatasetFieldTest, FieldHeldAcrossARedefinitionFailsCleanly) {
  Dataset ds = Tenders();
  Field button = ds.FieldByName("NRBUTTON");
  DataPacket narrow;
  narrow.fields.push_back({"CDTIPORECE", FieldType::String, 3});
  narrow.rows.push_back({Variant("001")});
  ds.SetData(narrow);
  EXPECT_THROW(button.AsInteger(), DatasetError);
  ds.Edit();
  EXPECT_THROW(button.SetAsInteger(1), DatasetError);
}

TEST(DatasetEditTest, WritingNeedsEditOrInsertState) {
  Dataset ds = Tenders();
  try {
    ds.FieldByName("NMTIPORECE").SetAsString("x");
    FAIL();
  } catch (const DatasetError& e) {
    EXPECT_NE(std::string(e.what()).find("edit or insert"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("NMTIPORECE"), std::string::npos);
  }
  EXPECT_THROW(ds.Post(), DatasetError);
  ds.Cancel();  // harmless in browse state
  EXPECT_EQ(ds.GetState(), Dataset::State::Browse);
}

TEST(DatasetEditTest, EditCancelPostAndMovingPostsPendingEdit) {
  Dataset ds = Tenders();
  ds.First();
  ds.Edit();
  ds.FieldByName("NMTIPORECE").SetAsString("Espécie");
  EXPECT_EQ(ds.FieldByName("NMTIPORECE").AsString(), "Espécie");  // reads the edit buffer
  ds.Cancel();
  EXPECT_EQ(ds.FieldByName("NMTIPORECE").AsString(), "Dinheiro");
  ds.Edit();
  ds.FieldByName("NMTIPORECE").SetAsString("Espécie");
  ds.Next();  // posts
  EXPECT_EQ(ds.GetState(), Dataset::State::Browse);
  ds.First();
  EXPECT_EQ(ds.FieldByName("NMTIPORECE").AsString(), "Espécie");
  ds.Edit();
  ds.FieldByName("NMTIPORECE").SetAsString("Vale");
  EXPECT_EQ(ds.Data().rows[0][1].AsString(), "Vale");  // the packet carries the pending edit
  EXPECT_TRUE(ds.Locate("CDTIPORECE", Variant("004")));
  ds.First();
  EXPECT_EQ(ds.FieldByName("NMTIPORECE").AsString(), "Vale");
}

TEST(DatasetEditTest, InsertAppendAndDeletePositions) {
  Dataset ds = Tenders();
  ds.SetRecNo(2);
  ds.Insert();
  ds.FieldByName("CDTIPORECE").SetAsString("00X");
  ds.Post();
  EXPECT_EQ(ds.RecNo(), 2);
  EXPECT_EQ(Codes(ds), (std::vector<std::string>{"001", "00X", "002", "003", "004"}));
  ds.SetRecNo(1);
  ds.Append();
  ds.FieldByName("CDTIPORECE").SetAsString("005");
  ds.Post();
  EXPECT_EQ(ds.RecNo(), 6);
  EXPECT_FALSE(ds.Eof());
  ds.SetRecNo(3);
  ds.Insert();
  ds.Cancel();
  EXPECT_EQ(ds.RecNo(), 3);
  EXPECT_EQ(ds.RecordCount(), 6);

  ds.SetRecNo(2);
  ds.Delete();  // the cursor goes to the next row
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "002");
  ds.Last();
  ds.Delete();  // deleting the last row leaves the new last row current, with Eof
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "004");
  EXPECT_TRUE(ds.Eof());
  EXPECT_EQ(Codes(ds), (std::vector<std::string>{"001", "002", "003", "004"}));
}

TEST(DatasetEditTest, DeleteWhileNotEofLoopRemovesOnlyMatchingRows) {
  Dataset ds = Tenders();
  ds.First();
  while (!ds.Eof()) {
    if (ds.FieldByName("IDTIPORECE").AsString() != "1") {
      ds.Delete();
    } else {
      ds.Next();
    }
  }
  EXPECT_EQ(Codes(ds), std::vector<std::string>{"002"});
  ds.First();
  while (!ds.IsEmpty()) ds.Delete();
  EXPECT_TRUE(ds.Eof());
}

TEST(DatasetEditTest, EditOnEmptyDatasetStartsANewRow) {
  Dataset ds("cdsVazio");
  ds.AddField("A", FieldType::String, 2);
  ds.CreateDataSet();
  ds.Edit();
  EXPECT_EQ(ds.GetState(), Dataset::State::Insert);
  ds.FieldByName("A").SetAsString("ok");
  ds.Post();
  EXPECT_EQ(ds.RecordCount(), 1);
}

TEST(DatasetEditTest, EditingRowByRowKeepsOrderCursorAndFilterMembership) {
  Dataset ds("cdsItens");
  ds.AddField("N", FieldType::Integer);
  ds.AddField("V", FieldType::Float);
  ds.CreateDataSet();
  for (int i = 0; i < 50000; ++i) ds.AppendRecord({Variant(i), Variant(1.0)});
  int seen = 0;
  for (ds.First(); !ds.Eof(); ds.Next()) {
    ASSERT_EQ(ds.FieldByName("N").AsInteger(), seen++);
    ds.Edit();
    ds.FieldByName("V").SetAsFloat(0.01);
    ds.Post();
    ASSERT_FALSE(ds.Eof());
  }
  EXPECT_EQ(seen, 50000);
  ds.Last();
  EXPECT_DOUBLE_EQ(ds.FieldByName("V").AsFloat(), 0.01);

  // Under a filter an edit may take the row out of view.
  ds.SetFilter([](const RowView& r) { return r.AsInteger("N") < 3; });
  ds.First();
  ds.Edit();
  ds.FieldByName("N").SetAsInteger(99);
  ds.Post();
  EXPECT_EQ(ds.RecordCount(), 2);
}

TEST(DatasetLocateTest, LocateOnOneOrSeveralFields) {
  Dataset ds = Tenders();
  ds.Last();
  EXPECT_TRUE(ds.Locate("IDTIPORECE;NRBUTTON", {Variant("2"), Variant(3)}));
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "003");
  EXPECT_TRUE(ds.Locate("NRBUTTON", Variant("2")));  // the key is read as the field's type
  EXPECT_EQ(ds.RecNo(), 2);
  EXPECT_FALSE(ds.Locate("IDTIPORECE;NRBUTTON", {Variant("2"), Variant(4)}));
  EXPECT_EQ(ds.RecNo(), 2);  // a failed locate leaves the cursor
  EXPECT_FALSE(ds.Locate("NRBUTTON", Variant("dois")));
  EXPECT_FALSE(ds.Locate("NMTIPORECE", Variant("crédito")));
  EXPECT_TRUE(ds.Locate("NMTIPORECE", Variant("CRÉDITO"), {.case_insensitive = true}));
  EXPECT_TRUE(ds.Locate("NMTIPORECE", Variant("Ch"), {.partial_key = true}));
  EXPECT_EQ(ds.RecNo(), 4);
  EXPECT_THROW(ds.Locate("NOPE", Variant("x")), DatasetError);
  EXPECT_THROW(ds.Locate("IDTIPORECE;NRBUTTON", {Variant("2")}), DatasetError);
  EXPECT_EQ(ds.Lookup("CDTIPORECE", {Variant("003")}, "NMTIPORECE").AsString(), "Débito");
  EXPECT_TRUE(ds.Lookup("CDTIPORECE", {Variant("999")}, "NMTIPORECE").IsNull());
  EXPECT_EQ(ds.RecNo(), 4);
}

TEST(DatasetLocateTest, NullKeysMatchEmptyValues) {
  Dataset ds = Tenders();
  ds.Append();
  ds.FieldByName("CDTIPORECE").SetAsString("009");
  ds.Post();
  ds.First();
  EXPECT_TRUE(ds.Locate("NMTIPORECE", Variant("")));
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "009");
  ds.First();
  EXPECT_TRUE(ds.Locate("NRBUTTON", Variant::Null()));
  EXPECT_EQ(ds.RecNo(), 5);
}

TEST(DatasetFilterTest, FilteredRowsHideAndComeBack) {
  Dataset ds = Tenders();
  ds.SetFilter([](const RowView& r) { return r.AsString("IDTIPORECE") == "1" || r.AsString("IDTIPORECE") == "2"; });
  EXPECT_TRUE(ds.Filtered());
  EXPECT_EQ(Codes(ds), (std::vector<std::string>{"002", "003"}));
  EXPECT_FALSE(ds.Locate("CDTIPORECE", Variant("001")));  // hidden rows are not found
  EXPECT_EQ(ds.Data().rows.size(), 4u);                   // but stay in the packet
  // A row edited out of the filter disappears once posted.
  ds.First();
  ds.Edit();
  ds.FieldByName("IDTIPORECE").SetAsString("9");
  ds.Post();
  EXPECT_EQ(Codes(ds), std::vector<std::string>{"003"});
  ds.SetFiltered(false);
  EXPECT_EQ(Codes(ds), (std::vector<std::string>{"001", "002", "003", "004"}));
  ds.SetFiltered(true);
  EXPECT_EQ(ds.RecordCount(), 1);
  ds.ClearFilter();
  EXPECT_FALSE(ds.Filtered());
  EXPECT_EQ(ds.RecordCount(), 4);
}

TEST(DatasetFilterTest, FilterThatMatchesNothingAndFailingFilter) {
  Dataset ds = Tenders();
  ds.SetFilter([](const RowView&) { return false; });
  EXPECT_TRUE(ds.IsEmpty());
  EXPECT_TRUE(ds.Eof());
  EXPECT_TRUE(ds.FieldByName("CDTIPORECE").IsNull());
  ds.Append();  // a new row can still be added while everything is hidden
  ds.FieldByName("CDTIPORECE").SetAsString("010");
  ds.Post();
  ds.ClearFilter();
  EXPECT_EQ(ds.RecordCount(), 5);
  ds.SetFilter([](const RowView& r) { return r.AsString("IDTIPORECE") == "4"; });
  EXPECT_THROW(ds.SetFilter([](const RowView& r) { return r.AsString("NOPE") == "x"; }), DatasetError);
  EXPECT_EQ(ds.RecordCount(), 1);  // the previous filter still holds
}

TEST(DatasetOrderTest, IndexFieldNamesOrderTheVisibleRows) {
  Dataset ds = Tenders();
  ds.Locate("CDTIPORECE", Variant("002"));
  ds.SetIndexFieldNames("IDTIPORECE");
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "002");  // the current row is kept
  EXPECT_EQ(ds.RecNo(), 1);
  EXPECT_EQ(Codes(ds), (std::vector<std::string>{"002", "003", "004", "001"}));
  ds.Append();
  ds.FieldByName("CDTIPORECE").SetAsString("000");
  ds.FieldByName("IDTIPORECE").SetAsString("2");
  ds.Post();
  EXPECT_EQ(ds.RecNo(), 3);  // the posted row goes to its place in the order
  EXPECT_EQ(Codes(ds), (std::vector<std::string>{"002", "003", "000", "004", "001"}));
  EXPECT_THROW(ds.SetIndexFieldNames("NOPE"), DatasetError);
  EXPECT_EQ(ds.IndexFieldNames(), "IDTIPORECE");
  ds.SetIndexFieldNames("");
  EXPECT_EQ(Codes(ds), (std::vector<std::string>{"001", "002", "003", "004", "000"}));
  EXPECT_EQ(ds.Data().rows.back()[0].AsString(), "000");  // packets keep stored order
}

TEST(DatasetOrderTest, OrderChosenBeforeTheFieldsExistAppliesWhenOpened) {
  Dataset source = Tenders();
  Dataset ds("cdsOrdenado");
  ds.SetIndexFieldNames("IDTIPORECE;CDTIPORECE");
  ds.SetData(source.Data());
  EXPECT_EQ(Codes(ds), (std::vector<std::string>{"002", "003", "004", "001"}));
  Dataset other("cdsSemCampo");
  other.SetIndexFieldNames("NOPE");
  EXPECT_THROW(other.SetData(source.Data()), DatasetError);
  EXPECT_FALSE(other.Active());
}

TEST(DatasetBookmarkTest, BookmarksFollowRowsAndNoticeDeletion) {
  Dataset ds = Tenders();
  ds.SetRecNo(3);
  const Dataset::Bookmark b = ds.GetBookmark();
  ds.SetIndexFieldNames("NMTIPORECE");
  ds.First();
  ds.GotoBookmark(b);
  EXPECT_EQ(ds.FieldByName("CDTIPORECE").AsString(), "003");
  ds.SetFilter([](const RowView& r) { return r.AsString("CDTIPORECE") != "003"; });
  EXPECT_FALSE(ds.BookmarkValid(b));
  EXPECT_THROW(ds.GotoBookmark(b), DatasetError);
  ds.ClearFilter();
  ds.GotoBookmark(b);
  ds.Delete();
  EXPECT_FALSE(ds.BookmarkValid(b));
}

TEST(DatasetPacketTest, DataAndSetDataRoundTrip) {
  Dataset ds = Tenders();
  ds.SetFilter([](const RowView& r) { return r.AsString("IDTIPORECE") == "1"; });
  Dataset copy("cdsTroco");
  copy.SetData(Variant(ds.Data()));
  EXPECT_TRUE(copy.Active());
  EXPECT_EQ(copy.RecNo(), 1);
  EXPECT_EQ(Codes(copy), (std::vector<std::string>{"001", "002", "003", "004"}));
  EXPECT_EQ(copy.Data(), ds.Data());
}

TEST(DatasetPacketTest, EmptyPacketKeepsItsFields) {
  Dataset ds = Tenders();
  ds.EmptyDataSet();
  const DataPacket p = ds.Data();
  EXPECT_TRUE(p.rows.empty());
  Dataset other("cdsReceb2");
  other.SetData(p);
  EXPECT_TRUE(other.Active());
  EXPECT_TRUE(other.IsEmpty());
  EXPECT_EQ(other.Fields(), ds.Fields());
  other.Append();
  other.FieldByName("NMTIPORECE").SetAsString("Pix");
  other.Post();
  EXPECT_EQ(other.RecordCount(), 1);
}

TEST(DatasetPacketTest, BadPacketsAreRefusedAndChangeNothing) {
  Dataset ds = Tenders();
  try {
    ds.SetData(Variant("ORA-00942: table or view does not exist"));
    FAIL();
  } catch (const DatasetError& e) {
    EXPECT_NE(std::string(e.what()).find("ORA-00942"), std::string::npos);
  }
  DataPacket ragged = ds.Data();
  ragged.rows[1].pop_back();
  EXPECT_THROW(ds.SetData(ragged), DatasetError);
  DataPacket wrong = ds.Data();
  wrong.rows[2][3] = Variant("três");
  EXPECT_THROW(ds.SetData(wrong), DatasetError);
  EXPECT_EQ(ds.RecordCount(), 4);
  EXPECT_EQ(ds.Fields().size(), 4u);
}

TEST(DatasetStructureTest, CloseKeepsRowsAndCreateDataSetEmpties) {
  Dataset ds = Tenders();
  ds.Close();
  EXPECT_EQ(ds.RecordCount(), 0);
  ds.Open();
  EXPECT_EQ(ds.RecordCount(), 4);
  ds.CreateDataSet();
  EXPECT_TRUE(ds.IsEmpty());
  EXPECT_THROW(ds.AppendRecord({1, 2, 3, 4, 5}), DatasetError);
}

}  // namespace
}  // namespace recebimento::base
