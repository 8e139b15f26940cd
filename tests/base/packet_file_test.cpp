#include "base/packet_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/atomic_file.h"
#include "base/dataset.h"
#include "base/text.h"
#include "support/temp_dir.h"

namespace recebimento::base {
namespace {

using recebimento::testing::TempDir;

Dataset Sale() {
  Dataset ds("cdsMoviVenda");
  ds.AddField("CDTIPORECE", FieldType::String, 3);
  ds.AddField("NMTIPORECE", FieldType::String, 40);
  ds.AddField("DSOBS", FieldType::String);  // memo
  ds.AddField("QTPARCRECEB", FieldType::Integer);
  ds.AddField("NRNSU", FieldType::Integer);
  ds.AddField("VRMOVIVEND", FieldType::Float);
  ds.AddField("IDTEF", FieldType::Boolean);
  ds.AddField("DTHRINCMOV", FieldType::DateTime);
  ds.CreateDataSet();
  ds.AppendRecord({"002", "Cartão Crédito \"Visa\" & <Master>", "linha 1\nlinha 2\tfim", 3, int64_t{9000000000},
                   0.1 + 0.2, true, DateTime::FromYMD(2026, 12, 6, 12, 0, 0, 250)});
  ds.AppendRecord({"001", "Ação à vista — pão, avô, güera", Variant::Null(), Variant::Null(), Variant::Null(), -1234.56,
                   false, Variant::Null()});
  return ds;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(PacketFileTest, RoundTripKeepsTypesValuesAccentsAndNulls) {
  TempDir dir;
  const std::string path = (dir / "cdsVenda.cds").string();
  Dataset original = Sale();
  original.SaveToFile(path);
  Dataset loaded("cdsVenda");
  loaded.LoadFromFile(path);
  EXPECT_EQ(loaded.Data(), original.Data());
  loaded.Last();
  EXPECT_TRUE(loaded.FieldByName("DTHRINCMOV").IsNull());
  EXPECT_EQ(loaded.FieldByName("NMTIPORECE").AsString(), "Ação à vista — pão, avô, güera");
}

TEST(PacketFileTest, WritesTheClientDatasetXmlForm) {
  const std::string xml = PacketToXml(Sale().Data());
  EXPECT_TRUE(
      xml.rfind("<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>", 0) == 0)
      << xml;
  EXPECT_TRUE(Contains(xml, "<FIELD attrname=\"CDTIPORECE\" fieldtype=\"string\" WIDTH=\"3\"/>"));
  EXPECT_TRUE(Contains(xml, "<FIELD attrname=\"DSOBS\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>"));
  EXPECT_TRUE(Contains(xml, "attrname=\"QTPARCRECEB\" fieldtype=\"i4\""));
  EXPECT_TRUE(Contains(xml, "attrname=\"NRNSU\" fieldtype=\"i8\""));  // a value beyond 32 bits
  EXPECT_TRUE(Contains(xml, "fieldtype=\"r8\""));
  EXPECT_TRUE(Contains(xml, "</FIELDS><PARAMS/></METADATA><ROWDATA><ROW "));
  EXPECT_TRUE(Contains(xml, "VRMOVIVEND=\"0.30000000000000004\""));
  EXPECT_TRUE(Contains(xml, "IDTEF=\"TRUE\""));
  EXPECT_TRUE(Contains(xml, "DTHRINCMOV=\"20261206T12:00:00250\""));
  EXPECT_FALSE(Contains(xml, "DSOBS=\"\""));  // nulls are left out
}

TEST(PacketFileTest, ReadsTheFieldTypesOfHostFiles) {
  const std::string xml =
      "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
      "<FIELD attrname=\"CDFILIAL\" fieldtype=\"string.uni\" WIDTH=\"8\"/>"
      "<FIELD attrname=\"NRORDEM\" fieldtype=\"i2\"/>"
      "<FIELD attrname=\"VRCOTACAO\" fieldtype=\"fixed\" DECIMALS=\"4\" WIDTH=\"19\"/>"
      "<FIELD attrname=\"IDATIVO\" fieldtype=\"boolean\"/>"
      "<FIELD attrname=\"DTCOTACAO\" fieldtype=\"date\"/>"
      "<FIELD attrname=\"HRINISERTUR\" fieldtype=\"time\"/>"
      "<FIELD attrname=\"DSOBS\" fieldtype=\"bin.hex\" SUBTYPE=\"WideText\"/>"
      "</FIELDS><PARAMS LCID=\"1046\"/></METADATA><ROWDATA>"
      "<ROW CDFILIAL=\"0001\" NRORDEM=\"2\" VRCOTACAO=\"5.4321\" IDATIVO=\"FALSE\" DTCOTACAO=\"20261206\" "
      "HRINISERTUR=\"07:30:00000\" DSOBS=\"São Paulo\"/>"
      "<ROW CDFILIAL=\"0002\"/>"
      "</ROWDATA></DATAPACKET>";
  const DataPacket p = ParsePacketXml(xml, "Moedas.cds");
  ASSERT_EQ(p.fields.size(), 7u);
  EXPECT_EQ(p.fields[0], (FieldDef{"CDFILIAL", FieldType::String, 8}));
  EXPECT_EQ(p.fields[1].type, FieldType::Integer);
  EXPECT_EQ(p.fields[2].type, FieldType::Float);
  EXPECT_EQ(p.fields[3].type, FieldType::Boolean);
  EXPECT_EQ(p.fields[4].type, FieldType::DateTime);
  EXPECT_EQ(p.fields[6], (FieldDef{"DSOBS", FieldType::String, 0}));
  ASSERT_EQ(p.rows.size(), 2u);
  EXPECT_EQ(p.rows[0][1], Variant(int64_t{2}));
  EXPECT_EQ(p.rows[0][2], Variant(5.4321));
  EXPECT_EQ(p.rows[0][3], Variant(false));
  EXPECT_EQ(p.rows[0][4], Variant(DateTime::FromYMD(2026, 12, 6)));
  EXPECT_EQ(p.rows[0][5].AsDateTime().Format("hh:nn"), "07:30");
  EXPECT_EQ(p.rows[0][6].AsString(), "São Paulo");
  for (size_t c = 1; c < 7; ++c) EXPECT_TRUE(p.rows[1][c].IsNull()) << c;
}

TEST(PacketFileTest, ChangeLogRowsAndOldCodePageTexts) {
  // A file saved with pending changes: deleted and superseded rows are not data.
  const std::string xml =
      "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
      "<FIELD attrname=\"CD\" fieldtype=\"string\" WIDTH=\"3\"/><FIELD attrname=\"NM\" fieldtype=\"string\" "
      "WIDTH=\"20\"/>"
      "</FIELDS><PARAMS CHANGE_LOG=\"1 0 4 2 0 2 4 3 8\"/></METADATA><ROWDATA>"
      "<ROW RowState=\"4\" CD=\"001\" NM=\"novo\"/><ROW RowState=\"2\" CD=\"002\" NM=\"apagado\"/>"
      "<ROW RowState=\"1\" CD=\"003\" NM=\"antigo\"/><ROW RowState=\"8\" NM=\"Cora\xE7\xE3o\"/>"
      "</ROWDATA></DATAPACKET>";
  const DataPacket p = ParsePacketXml(xml, "Cad_Cliente.cds");
  ASSERT_EQ(p.rows.size(), 2u);
  EXPECT_EQ(p.rows[0][0].AsString(), "001");
  EXPECT_EQ(p.rows[1][0].AsString(), "003");
  EXPECT_EQ(p.rows[1][1].AsString(), "Coração");  // Windows-1252 bytes read as such
}

TEST(PacketFileTest, EmptyDatasetKeepsItsFieldsThroughAFile) {
  TempDir dir;
  Dataset ds = Sale();
  ds.EmptyDataSet();
  const std::string path = (dir / "ultTef.cds").string();
  ds.SaveToFile(path);
  Dataset back;
  back.LoadFromFile(path);
  EXPECT_TRUE(back.Active());
  EXPECT_TRUE(back.IsEmpty());
  EXPECT_EQ(back.Fields(), ds.Fields());
}

TEST(PacketFileTest, BadFilesRaiseErrorsNamingTheFile) {
  TempDir dir;
  struct Case {
    std::string name, content, expected;
  };
  const std::vector<Case> cases = {
      {"vazio.cds", "", "empty"},
      {"binario.cds", std::string("\x96\x19\xE0\xBD\x01\x00", 6), "not an XML"},
      {"quebrado.cds", "<DATAPACKET><METADATA>", "not valid XML"},
      {"outro.cds", "<?xml version=\"1.0\"?><root/>", "no DATAPACKET"},
      {"semcampos.cds", "<DATAPACKET Version=\"2.0\"><ROWDATA/></DATAPACKET>", "no METADATA/FIELDS"},
      {"tipo.cds",
       "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"X\" fieldtype=\"nested\"/></FIELDS></METADATA></DATAPACKET>",
       "unsupported type"},
      {"valor.cds",
       "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"QT\" fieldtype=\"i4\"/></FIELDS></METADATA>"
       "<ROWDATA><ROW QT=\"1\"/><ROW QT=\"dois\"/></ROWDATA></DATAPACKET>",
       "row 2, field 'QT'"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.Write(c.name, c.content).string();
    try {
      ReadPacketFile(path);
      ADD_FAILURE() << c.name;
    } catch (const PacketFileError& e) {
      EXPECT_TRUE(Contains(e.what(), path)) << e.what();
      EXPECT_TRUE(Contains(e.what(), c.expected)) << e.what();
    }
  }
  const std::string missing = (dir / "PARAMETROSZEM.CDS").string();
  try {
    Dataset ds("cdsParametrosZem");
    ds.LoadFromFile(missing);
    FAIL();
  } catch (const PacketFileError& e) {
    EXPECT_TRUE(Contains(e.what(), missing));
    EXPECT_TRUE(Contains(e.what(), "not found"));
  }
  EXPECT_THROW(ReadPacketFile(dir.str()), PacketFileError);
}

// A settings file read on every call is parsed once while its text stays the same; an
// edit between two reads (same size, same instant, same file) is what the next read gives.
TEST(PacketFileTest, AFileEditedBetweenReadsIsReadAsItIsNow) {
  TempDir dir;
  const auto packet = [](const char* value) {
    return std::string("<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"IDX\" fieldtype=\"string\" WIDTH=\"1\"/>") +
           "</FIELDS></METADATA><ROWDATA><ROW IDX=\"" + value + "\"/></ROWDATA></DATAPACKET>";
  };
  const std::string path = dir.Write("PARAMETROSZEM.CDS", packet("N")).string();
  EXPECT_EQ(ReadPacketFile(path).rows.at(0).at(0).AsString(), "N");
  EXPECT_EQ(ReadPacketFile(path).rows.at(0).at(0).AsString(), "N");
  dir.Write("PARAMETROSZEM.CDS", packet("S"));
  EXPECT_EQ(ReadPacketFile(path).rows.at(0).at(0).AsString(), "S");
  dir.Write("PARAMETROSZEM.CDS", packet("S").substr(0, 40));
  EXPECT_THROW(ReadPacketFile(path), PacketFileError) << "a file broken since is an error, not the last good read";
  dir.Write("PARAMETROSZEM.CDS", packet("N"));
  EXPECT_EQ(ReadPacketFile(path).rows.at(0).at(0).AsString(), "N");
}

TEST(PacketFileTest, FailedLoadLeavesTheDatasetAsItWas) {
  TempDir dir;
  Dataset ds = Sale();
  EXPECT_THROW(ds.LoadFromFile(dir.Write("x.cds", "nada").string()), PacketFileError);
  EXPECT_EQ(ds.RecordCount(), 2);
}

// Messages quote what a file holds: never raw bytes that are not UTF-8, never a whole
// huge value.
TEST(PacketFileTest, MessagesQuoteBadBytesSafelyAndCutLongValues) {
  const std::string bad_type =
      "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"X\" fieldtype=\"i\xFF\xFE\"/>"
      "</FIELDS></METADATA></DATAPACKET>";
  try {
    ParsePacketXml(bad_type, "host\xC3(/PARAMETROSZEM.CDS");
    FAIL();
  } catch (const PacketFileError& e) {
    const std::string m = e.what();
    EXPECT_TRUE(IsValidUtf8(m)) << m;
    EXPECT_TRUE(Contains(m, "i\\xFF\\xFE")) << m;
    EXPECT_TRUE(Contains(m, "host\\xC3(")) << m;
  }
  const std::string long_value =
      "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"QT\" fieldtype=\"i4\"/></FIELDS>"
      "</METADATA><ROWDATA><ROW QT=\"" +
      std::string(100000, '9') + "x\"/></ROWDATA></DATAPACKET>";
  try {
    ParsePacketXml(long_value, "x.cds");
    FAIL();
  } catch (const PacketFileError& e) {
    EXPECT_LT(std::string(e.what()).size(), 400u);
  }
}

// Many fields load in time proportional to their number (see bench_dataset for the
// measure): each name is looked up once, and the duplicate check holds at any size.
TEST(PacketFileTest, ManyFieldsLoadAndADuplicateAmongThemIsFound) {
  std::string fields, row;
  for (int i = 0; i < 20000; ++i) {
    fields += "<FIELD attrname=\"F" + std::to_string(i) + "\" fieldtype=\"i4\"/>";
    row += " F" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
  }
  const std::string xml = "<DATAPACKET><METADATA><FIELDS>" + fields + "</FIELDS></METADATA><ROWDATA><ROW" + row +
                          "/></ROWDATA></DATAPACKET>";
  Dataset ds("cdsMuitos");
  ds.SetData(ParsePacketXml(xml, "many.cds"));
  EXPECT_EQ(ds.Fields().size(), 20000u);
  EXPECT_EQ(ds.FieldByName("F19999").AsInteger(), 19999);
  const std::string dup = "<DATAPACKET><METADATA><FIELDS>" + fields + "<FIELD attrname=\"f7\" fieldtype=\"i4\"/>" +
                          "</FIELDS></METADATA></DATAPACKET>";
  try {
    ParsePacketXml(dup, "dup.cds");
    FAIL();
  } catch (const PacketFileError& e) {
    EXPECT_TRUE(Contains(e.what(), "duplicate field 'f7'")) << e.what();
  }
}

TEST(AtomicFileTest, ReplacesContentAndLeavesNoTemporaryFiles) {
  TempDir dir;
  const std::string path = (dir / "backup.cds").string();
  WriteFileAtomically(path, "first");
  ::chmod(path.c_str(), 0640);
  WriteFileAtomically(path, "second");
  EXPECT_EQ(dir.Read("backup.cds"), "second");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // the replaced file's permissions are kept
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(AtomicFileTest, FailureLeavesTheOldFileIntact) {
  TempDir dir;
  const std::string path = dir.Write("cdsVenda.cds", "old content").string();
  // A target that is a folder cannot be replaced by a file.
  std::filesystem::create_directory(dir / "pasta.cds");
  EXPECT_THROW(WriteFileAtomically((dir / "pasta.cds").string(), "x"), AtomicFileError);
  EXPECT_THROW(WriteFileAtomically((dir / "nao-existe" / "a.cds").string(), "x"), AtomicFileError);
  if (::geteuid() != 0) {  // root writes anywhere
    ::chmod(dir.str().c_str(), 0500);
    EXPECT_THROW(WritePacketFile(path, Sale().Data()), PacketFileError);
    ::chmod(dir.str().c_str(), 0700);
  }
  EXPECT_EQ(dir.Read("cdsVenda.cds"), "old content");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // no temporaries
}

TEST(AtomicFileTest, UnwritableValueFailsBeforeTouchingTheFile) {
  TempDir dir;
  const std::string path = dir.Write("ultTef.cds", "old").string();
  DataPacket p;
  p.fields.push_back({"VR", FieldType::Float, 0});
  p.rows.push_back({Variant(std::numeric_limits<double>::infinity())});
  EXPECT_THROW(WritePacketFile(path, p), PacketFileError);
  EXPECT_EQ(dir.Read("ultTef.cds"), "old");
}

// What writes killed half way left behind goes at the next start; nothing else does.
TEST(AtomicFileTest, InterruptedWritesAreRemovedAndNothingElse) {
  TempDir dir;
  const auto kept = {dir.Write("cdsVenda.cds", "x"), dir.Write("Dados/notes.tmp-abc", "x"),
                     dir.Write("Dados/a.cds.tmp-12345", "x"), dir.Write("Dados/a.tmp-ABCDEF.bak", "x")};
  const auto left = {dir.Write("cdsVenda.cds.tmp-Ab12Cd", "partial"),
                     dir.Write("Dados/Sub/ultTef.cds.tmp-000000", "p")};
  const std::vector<std::string> removed = RemoveInterruptedWrites(dir.str());
  EXPECT_EQ(removed.size(), 2u);
  for (const auto& f : left) EXPECT_FALSE(std::filesystem::exists(f)) << f;
  for (const auto& f : kept) EXPECT_TRUE(std::filesystem::exists(f)) << f;

  const auto mine = dir.Write("out.json.tmp-q1w2e3", "partial");
  const auto other = dir.Write("other.json.tmp-q1w2e3", "partial");
  EXPECT_EQ(RemoveInterruptedWritesOf((dir / "out.json").string()).size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(mine));
  EXPECT_TRUE(std::filesystem::exists(other));
  EXPECT_TRUE(RemoveInterruptedWrites((dir / "missing").string()).empty());
}

}  // namespace
}  // namespace recebimento::base
