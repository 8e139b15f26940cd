#include "screen/setup/parametros_zem.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <variant>

#include "base/dataset.h"
#include "base/packet_file.h"
#include "base/text_keyed_cache.h"

namespace recebimento::screen {

namespace {

using P = ParametrosZem;
using FieldRef = std::variant<std::string P::*, int P::*, bool P::*, double P::*>;

struct Column {
  const char* name;
  FieldRef field;
};

// Column names as the host writes them; the type of each comes from its field.
const Column kColumns[] = {
    {"IDTIPOIMPFIS", &P::inIDTIPOIMPFIS},
    {"TAMDISPLAY", &P::inTAMDISPLAY},
    {"CTCUPDESCONTO", &P::inCTCUPDESCONTO},
    {"CTABRIRGAVETA", &P::inCTABRIRGAVETA},
    {"CTACRESCIMO", &P::inCTACRESCIMO},
    {"CTSELECCLICONS", &P::inCTSELECCLICONS},
    {"CTRETTAXASERV", &P::inCTRETTAXASERV},
    {"DisplayOK", &P::boDisplayOK},
    {"SISTEMAVANTOMI", &P::boSISTEMAVANTOMI},
    {"SISTEMAZEMNFCE", &P::boSISTEMAZEMNFCE},
    {"UTILIZAIMPFIS", &P::boUTILIZAIMPFIS},
    {"SISTEMAZEMSAT", &P::boSISTEMAZEMSAT},
    {"DTABERCAIX", &P::doDTABERCAIX},
    {"NRDIASCUPTROCA", &P::doNRDIASCUPTROCA},
    {"VRPEMAXREPIQMRX", &P::doVRPEMAXREPIQMRX},
    {"VRCOMISVENDA", &P::doVRCOMISVENDA},
    {"VROBRIGCPFNOTA", &P::doVROBRIGCPFNOTA},
    {"DSDIRCAD", &P::stDSDIRCAD},
    {"DSDIRFOTOZEM", &P::stDSDIRFOTOZEM},
    {"IDESQUEMA", &P::stIDESQUEMA},
    {"IDCOLETOR", &P::stIDCOLETOR},
    {"IDUTILTEF", &P::stIDUTILTEF},
    {"IDBLOQIDCART", &P::stIDBLOQIDCART},
    {"DSENDIPSITEF", &P::stDSENDIPSITEF},
    {"IDTPTEF", &P::stIDTPTEF},
    {"CDPORTATEF", &P::stCDPORTATEF},
    {"CDESTTEF", &P::stCDESTTEF},
    {"CDLOJATEF", &P::stCDLOJATEF},
    {"CDTERTEF", &P::stCDTERTEF},
    {"IDIMPCUPFIS", &P::stIDIMPCUPFIS},
    {"IDUTILCHEQ", &P::stIDUTILCHEQ},
    {"CDFILIAL", &P::stCDFILIAL},
    {"IDCOUVERART", &P::stIDCOUVERART},
    {"CDPRODCOUVER", &P::stCDPRODCOUVER},
    {"CDCAIXA", &P::stCDCAIXA},
    {"IDSOLICITACPF", &P::stIDSOLICITACPF},
    {"IDTIPOGAVETA", &P::stIDTIPOGAVETA},
    {"CDPORTAIMPFIS", &P::stCDPORTAIMPFIS},
    {"STTOTCV", &P::stSTTOTCV},
    {"DSOBSCUPFIS", &P::stDSOBSCUPFIS},
    {"IDIMPBARRCUP", &P::stIDIMPBARRCUP},
    {"NMPADBARRCUP", &P::stNMPADBARRCUP},
    {"IDIMPSALDOCUPOM", &P::stIDIMPSALDOCUPOM},
    {"IdTpTelaVe", &P::stIdTpTelaVe},
    {"DSMENSCPFCUP", &P::stDSMENSCPFCUP},
    {"IDIMPRCUPTEFRED", &P::stIDIMPRCUPTEFRED},
    {"IDIMPVENDCON", &P::stIDIMPVENDCON},
    {"IDIMPCOMPVCP", &P::stIDIMPCOMPVCP},
    {"IDPAISINTEGRA", &P::stIDPAISINTEGRA},
    {"IDIMPCOMPDEBCON", &P::stIDIMPCOMPDEBCON},
    {"CDPORTIMPNF1", &P::stCDPORTIMPNF1},
    {"IDTIPOIMPNF1", &P::stIDTIPOIMPNF1},
    {"NMRAZSOCFILI", &P::stNMRAZSOCFILI},
    {"DSENDEFILI", &P::stDSENDEFILI},
    {"CDINSCMUNIFILI", &P::stCDINSCMUNIFILI},
    {"NMCAIXA", &P::stNMCAIXA},
    {"NMBAIRFILI", &P::stNMBAIRFILI},
    {"NMMUNICIPIOFILI", &P::stNMMUNICIPIOFILI},
    {"SGESTADOFILI", &P::stSGESTADOFILI},
    {"IDTPVENDIMPNF1", &P::stIDTPVENDIMPNF1},
    {"IDTIPOIMPNF2", &P::stIDTIPOIMPNF2},
    {"CDPORTIMPNF2", &P::stCDPORTIMPNF2},
    {"IDTPVENDIMPNF2", &P::stIDTPVENDIMPNF2},
    {"CDPREFINTGCOL", &P::stCDPREFINTGCOL},
    {"NRCUPINIINTGCOL", &P::stNRCUPINIINTGCOL},
    {"NRCUPFININTGCOL", &P::stNRCUPFININTGCOL},
    {"CDPRODCONSUM", &P::stCDPRODCONSUM},
    {"STPROCESSAMENTO", &P::stSTPROCESSAMENTO},
    {"DSDIRPENTEF", &P::stDSDIRPENTEF},
    {"IDIMPCOMPCUPVEN", &P::stIDIMPCOMPCUPVEN},
    {"IDIMPCUPTROCA", &P::stIDIMPCUPTROCA},
    {"NRSERIEIMP", &P::stNRSERIEIMP},
    {"ECFIMP", &P::stECFIMP},
    {"IDTPCONTRREPIQ", &P::stIDTPCONTRREPIQ},
    {"NRINSJURFILI", &P::stNRINSJURFILI},
    {"CDINSCESTAEMPR", &P::stCDINSCESTAEMPR},
    {"NRINSJUREMPR", &P::stNRINSJUREMPR},
    {"IDPARIMPRLIMVDC", &P::stIDPARIMPRLIMVDC},
    {"IDSOLOBSDESC", &P::stIDSOLOBSDESC},
    {"IDHABFORMTEF", &P::stIDHABFORMTEF},
    {"IDEXISTECAMPDOTZ", &P::stIDEXISTECAMPDOTZ},
    {"CDEMPRESA", &P::stCDEMPRESA},
    {"NRDIAFECHAFOLHA", &P::stNRDIAFECHAFOLHA},
    {"DSLOGOTELA", &P::stDSLOGOTELA},
    {"IDAMBTRABNFCE", &P::stIDAMBTRABNFCE},
    {"IDINTHOTEL", &P::stIDINTHOTEL},
    {"IDTIPOIMPNF3", &P::stIDTIPOIMPNF3},
    {"CDPORTIMPNF3", &P::stCDPORTIMPNF3},
    {"IDTPVENDIMPNF3", &P::stIDTPVENDIMPNF3},
    {"IDSOLICITADOTZ", &P::stIDSOLICITADOTZ},
    {"IDSOLICITANSU", &P::stIDSOLICITANSU},
    {"IDENVIAPEDKDS", &P::stIDENVIAPEDKDS},
    {"IDIMPCNPJCLIE", &P::stIDIMPCNPJCLIE},
    {"IDCOMISVENDA", &P::stIDCOMISVENDA},
    {"IDTRATTAXAENTR", &P::stIDTRATTAXAENTR},
    {"CDPRODTAXASERV", &P::stCDPRODTAXASERV},
    {"CDPRODTXEXCEDE", &P::stCDPRODTXEXCEDE},
    {"IDTRATTAXASERV", &P::stIDTRATTAXASERV},
    {"CDPRODTAXAENTR", &P::stCDPRODTAXAENTR},
    {"IDSOLOBSFINVEN", &P::stIDSOLOBSFINVEN},
    {"NRCNPJLOJA", &P::stNRCNPJLOJA},
    {"NRCNPJTEFHOUSE", &P::stNRCNPJTEFHOUSE},
    {"IDFECHACUPOM", &P::stIDFECHACUPOM},
    {"IDIMPRVIACONSTEF", &P::stIDIMPRVIACONSTEF},
    {"CDTOKENTLS", &P::stCDTOKENTLS},
    {"CDTPCOMUNTLS", &P::stCDTPCOMUNTLS},
    {"CDTPPROXYTLS", &P::stCDTPPROXYTLS},
    {"CDENPROXYTLS", &P::stCDENPROXYTLS},
    {"IDINFOCPFPINPAD", &P::stIDINFOCPFPINPAD},
    {"IDHABCAIXAVENDA", &P::stIDHABCAIXAVENDA},
    {"QTDMAXDIGNSU", &P::inQTDMAXDIGNSU},
    {"IDALTTXSERV", &P::stIDALTTXSERV},
    {"IDCONSUBDESFOL", &P::stIDCONSUBDESFOL},
    {"IDCPFPINPAD", &P::stIDCPFPINPAD},
    {"IDMOMENTOCPFVEN", &P::stIDMOMENTOCPFVEN},
    {"IDVERGAVETANFIS", &P::stIDVERGAVETANFIS},
    {"IDINFNOMEEND", &P::stIDINFNOMEEND},
    {"IDPERCOMVENCPDC", &P::stIDPERCOMVENCPDC},
    {"CDLOJA", &P::stCDLOJA},
    {"IDEXTCONSONLINE", &P::stIDEXTCONSONLINE},
    {"CDURLWSEXTCONS", &P::stCDURLWSEXTCONS},
    {"IDIMPRTEF", &P::stIDIMPRTEF},
    {"IDINTRESGSALDO", &P::stIDINTRESGSALDO},
    {"IDUTILFID4ALL", &P::stIDUTILFID4ALL},
    {"CDURLWSFID4ALL", &P::stCDURLWSFID4ALL},
    {"IDUTLINTFACELE", &P::stIDUTLINTFACELE},
    {"IDUTILFIDUDS", &P::stIDUTILFIDUDS},
    {"CDURLWSFIDUDS", &P::stCDURLWSFIDUDS},
    {"IDUTLCOMUDIRMFE", &P::stIDUTLCOMUDIRMFE},
    {"IDUTILINTEPROMO", &P::stIDUTILINTEPROMO},
    {"CDURLINTEPROMO", &P::stCDURLINTEPROMO},
    {"IDDEBCONSCENTRAL", &P::stIDDEBCONSCENTRAL},
    {"IDEXTCONSCENTRAL", &P::stIDEXTCONSCENTRAL},
    {"CDURLINTCARTPRE", &P::stCDURLINTCARTPRE},
    {"IDAPLPREDIFCOMB", &P::stIDAPLPREDIFCOMB},
    {"IDSOLICITATEL", &P::stIDSOLICITATEL},
    {"CDURLFIDONLINE", &P::stCDURLFIDONLINE},
    {"IDPERACRTXSECUP", &P::stIDPERACRTXSECUP},
    {"IDSOLICTELGER", &P::stIDSOLICTELGER},
    {"IDUTLNFSVENCONS", &P::stIDUTLNFSVENCONS},
    {"IDIMPCUPMEI", &P::stIDIMPCUPMEI},
    {"IDUTILINTVALPRE", &P::stIDUTILINTVALPRE},
    {"CDURLINTVALPRE", &P::stCDURLINTVALPRE},
    {"NRSEGREQVALPRE", &P::stNRSEGREQVALPRE},
    {"IDUTICOREBANC", &P::stIDUTICOREBANC},
    {"CDURLCOREBANC", &P::stCDURLCOREBANC},
    {"NRTEMPOCOREBANC", &P::stNRTEMPOCOREBANC},
    {"IDUTILINTOLGA", &P::stIDUTILINTOLGA},
    {"CDURLINTOLGA", &P::stCDURLINTOLGA},
    {"IDUTILFIXECRM", &P::stIDUTILFIXECRM},
    {"CDURLFIXECRM", &P::stCDURLFIXECRM},
    {"CDLOJA", &P::stCdLoja},
};

// An integer column beyond what an int holds reads as the nearest it holds.
int SaturatedInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void ReadColumn(ParametrosZem& par, base::Dataset& ds, const Column& column) {
  try {
    base::Field f = ds.FieldByName(column.name);  // a missing column stops the initialisation
    std::visit(
        [&](auto member) {
          using M = decltype(member);
          if constexpr (std::is_same_v<M, std::string P::*>) par.*member = f.AsString();
          if constexpr (std::is_same_v<M, int P::*>) par.*member = SaturatedInt(f.AsInteger());
          if constexpr (std::is_same_v<M, bool P::*>) par.*member = f.AsBoolean();
          if constexpr (std::is_same_v<M, double P::*>) par.*member = f.AsFloat();
        },
        column.field);
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("PARAMETROSZEM.CDS: column ") + column.name + ": " + e.what());
  }
}

}  // namespace

std::vector<ParametroColumn> ParametrosZemColumns() {
  std::vector<ParametroColumn> out;
  for (const Column& c : kColumns) {
    const base::FieldType type = std::visit(
        [](auto member) {
          using M = decltype(member);
          if constexpr (std::is_same_v<M, int P::*>) return base::FieldType::Integer;
          if constexpr (std::is_same_v<M, bool P::*>) return base::FieldType::Boolean;
          if constexpr (std::is_same_v<M, double P::*>) return base::FieldType::Float;
          return base::FieldType::String;
        },
        c.field);
    // CDLOJA is read twice; the file has it once.
    bool seen = false;
    for (const auto& o : out) seen = seen || o.name == c.name;
    if (!seen) out.push_back({c.name, type});
  }
  return out;
}

void ParametrosZem::LoadFromFile(const std::string& path) {
  // Parsed once while the file's text is unchanged: the host calls once per sale.
  static base::TextKeyedCache<ParametrosZem> parsed(2, 1024 * 1024);
  std::string text = base::ReadPacketText(path);
  if (auto cached = parsed.Find(path, text)) {
    *this = std::move(*cached);
    return;
  }
  LoadFromPacket(base::ParsePacketXml(text, path));
  parsed.Remember(path, std::move(text), *this);
}

void ParametrosZem::LoadFromPacket(const base::DataPacket& packet) {
  base::Dataset cdsParametrosZem("cdsParametrosZem");
  cdsParametrosZem.SetData(packet);
  if (!cdsParametrosZem.Active()) cdsParametrosZem.Open();
  cdsParametrosZem.First();
  for (const Column& column : kColumns) ReadColumn(*this, cdsParametrosZem, column);

  // The opening date may come as a date or as its day number.
  try {
    base::Field abertura = cdsParametrosZem.FieldByName("DTABERCAIX");
    if (abertura.Def().type == base::FieldType::DateTime) {
      dtDTABERCAIX = abertura.AsDateTime();
      doDTABERCAIX = abertura.IsNull() ? 0 : dtDTABERCAIX.DayNumber();
    } else {
      dtDTABERCAIX = doDTABERCAIX != 0 ? base::DateTime::FromDayNumber(doDTABERCAIX) : base::DateTime();
    }
  } catch (const std::exception& e) {
    throw std::runtime_error(std::string("PARAMETROSZEM.CDS: column DTABERCAIX: ") + e.what());
  }

  // Without sale commissions the service fee cannot be split by waiter.
  if (stIDCOMISVENDA == "N" && stIDTRATTAXASERV == "P") stIDTRATTAXASERV = "A";
  inHabCaixaVenda = stIDHABCAIXAVENDA == "TAA" ? 1 : 0;
}

void ParametrosZem::ApplyRules() {
  // Applied without the file too: a limit of 0 digits would refuse every typed NSU.
  if (inQTDMAXDIGNSU <= 0) inQTDMAXDIGNSU = 10;
  // A customer display is a few dozen characters wide; lines are padded to its width.
  inTAMDISPLAY = std::clamp(inTAMDISPLAY, 0, kWidestCustomerDisplay);
  if (stIDSOLICTELGER == "S") stIDSOLICITATEL = stIDSOLICTELGER;
}

ParametrosZem LoadParametrosZem(const pos::HostPaths& paths) {
  ParametrosZem par;
  const auto path = paths.Find("\\PARAMETROSZEM.CDS");
  std::error_code ec;
  if (path && std::filesystem::is_regular_file(*path, ec)) par.LoadFromFile(*path);
  par.ApplyRules();
  return par;
}

}  // namespace recebimento::screen
