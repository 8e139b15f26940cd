// The host's parameters file (PARAMETROSZEM.CDS): every column read by type into the
// screen's configuration field named after it, and the rules between columns.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <variant>

#include "base/path.h"
#include "datamodule/connection_config.h"
#include "screen/frm_recebimento.h"
#include "screen/screen_init_parameters.h"

namespace recebimento::screen {

namespace {

using F = TfrmRecebimento;
using FieldRef = std::variant<std::string F::*, int F::*, bool F::*, double F::*>;

struct Column {
  const char* name;
  FieldRef field;
};

// Column names as the host writes them; the type of each comes from its field.
const Column kColumns[] = {
    {"IDTIPOIMPFIS", &F::inIDTIPOIMPFIS}, {"TAMDISPLAY", &F::inTAMDISPLAY},
    {"CTCUPDESCONTO", &F::inCTCUPDESCONTO}, {"CTABRIRGAVETA", &F::inCTABRIRGAVETA},
    {"CTACRESCIMO", &F::inCTACRESCIMO}, {"CTSELECCLICONS", &F::inCTSELECCLICONS},
    {"CTRETTAXASERV", &F::inCTRETTAXASERV}, {"DisplayOK", &F::boDisplayOK},
    {"SISTEMAVANTOMI", &F::boSISTEMAVANTOMI}, {"SISTEMAZEMNFCE", &F::boSISTEMAZEMNFCE},
    {"UTILIZAIMPFIS", &F::boUTILIZAIMPFIS}, {"SISTEMAZEMSAT", &F::boSISTEMAZEMSAT},
    {"DTABERCAIX", &F::doDTABERCAIX}, {"NRDIASCUPTROCA", &F::doNRDIASCUPTROCA},
    {"VRPEMAXREPIQMRX", &F::doVRPEMAXREPIQMRX}, {"VRCOMISVENDA", &F::doVRCOMISVENDA},
    {"VROBRIGCPFNOTA", &F::doVROBRIGCPFNOTA}, {"DSDIRCAD", &F::stDSDIRCAD},
    {"DSDIRFOTOZEM", &F::stDSDIRFOTOZEM}, {"IDESQUEMA", &F::stIDESQUEMA}, {"IDCOLETOR", &F::stIDCOLETOR},
    {"IDUTILTEF", &F::stIDUTILTEF}, {"IDBLOQIDCART", &F::stIDBLOQIDCART}, {"DSENDIPSITEF", &F::stDSENDIPSITEF},
    {"IDTPTEF", &F::stIDTPTEF}, {"CDPORTATEF", &F::stCDPORTATEF}, {"CDESTTEF", &F::stCDESTTEF},
    {"CDLOJATEF", &F::stCDLOJATEF}, {"CDTERTEF", &F::stCDTERTEF}, {"IDIMPCUPFIS", &F::stIDIMPCUPFIS},
    {"IDUTILCHEQ", &F::stIDUTILCHEQ}, {"CDFILIAL", &F::stCDFILIAL}, {"IDCOUVERART", &F::stIDCOUVERART},
    {"CDPRODCOUVER", &F::stCDPRODCOUVER}, {"CDCAIXA", &F::stCDCAIXA}, {"IDSOLICITACPF", &F::stIDSOLICITACPF},
    {"IDTIPOGAVETA", &F::stIDTIPOGAVETA}, {"CDPORTAIMPFIS", &F::stCDPORTAIMPFIS}, {"STTOTCV", &F::stSTTOTCV},
    {"DSOBSCUPFIS", &F::stDSOBSCUPFIS}, {"IDIMPBARRCUP", &F::stIDIMPBARRCUP},
    {"NMPADBARRCUP", &F::stNMPADBARRCUP}, {"IDIMPSALDOCUPOM", &F::stIDIMPSALDOCUPOM},
    {"IdTpTelaVe", &F::stIdTpTelaVe}, {"DSMENSCPFCUP", &F::stDSMENSCPFCUP},
    {"IDIMPRCUPTEFRED", &F::stIDIMPRCUPTEFRED}, {"IDIMPVENDCON", &F::stIDIMPVENDCON},
    {"IDIMPCOMPVCP", &F::stIDIMPCOMPVCP}, {"IDPAISINTEGRA", &F::stIDPAISINTEGRA},
    {"IDIMPCOMPDEBCON", &F::stIDIMPCOMPDEBCON}, {"CDPORTIMPNF1", &F::stCDPORTIMPNF1},
    {"IDTIPOIMPNF1", &F::stIDTIPOIMPNF1}, {"NMRAZSOCFILI", &F::stNMRAZSOCFILI},
    {"DSENDEFILI", &F::stDSENDEFILI}, {"CDINSCMUNIFILI", &F::stCDINSCMUNIFILI}, {"NMCAIXA", &F::stNMCAIXA},
    {"NMBAIRFILI", &F::stNMBAIRFILI}, {"NMMUNICIPIOFILI", &F::stNMMUNICIPIOFILI},
    {"SGESTADOFILI", &F::stSGESTADOFILI}, {"IDTPVENDIMPNF1", &F::stIDTPVENDIMPNF1},
    {"IDTIPOIMPNF2", &F::stIDTIPOIMPNF2}, {"CDPORTIMPNF2", &F::stCDPORTIMPNF2},
    {"IDTPVENDIMPNF2", &F::stIDTPVENDIMPNF2}, {"CDPREFINTGCOL", &F::stCDPREFINTGCOL},
    {"NRCUPINIINTGCOL", &F::stNRCUPINIINTGCOL}, {"NRCUPFININTGCOL", &F::stNRCUPFININTGCOL},
    {"CDPRODCONSUM", &F::stCDPRODCONSUM}, {"STPROCESSAMENTO", &F::stSTPROCESSAMENTO},
    {"DSDIRPENTEF", &F::stDSDIRPENTEF}, {"IDIMPCOMPCUPVEN", &F::stIDIMPCOMPCUPVEN},
    {"IDIMPCUPTROCA", &F::stIDIMPCUPTROCA}, {"NRSERIEIMP", &F::stNRSERIEIMP}, {"ECFIMP", &F::stECFIMP},
    {"IDTPCONTRREPIQ", &F::stIDTPCONTRREPIQ}, {"NRINSJURFILI", &F::stNRINSJURFILI},
    {"CDINSCESTAEMPR", &F::stCDINSCESTAEMPR}, {"NRINSJUREMPR", &F::stNRINSJUREMPR},
    {"IDPARIMPRLIMVDC", &F::stIDPARIMPRLIMVDC}, {"IDSOLOBSDESC", &F::stIDSOLOBSDESC},
    {"IDHABFORMTEF", &F::stIDHABFORMTEF}, {"IDEXISTECAMPDOTZ", &F::stIDEXISTECAMPDOTZ},
    {"CDEMPRESA", &F::stCDEMPRESA}, {"NRDIAFECHAFOLHA", &F::stNRDIAFECHAFOLHA},
    {"DSLOGOTELA", &F::stDSLOGOTELA}, {"IDAMBTRABNFCE", &F::stIDAMBTRABNFCE}, {"IDINTHOTEL", &F::stIDINTHOTEL},
    {"IDTIPOIMPNF3", &F::stIDTIPOIMPNF3}, {"CDPORTIMPNF3", &F::stCDPORTIMPNF3},
    {"IDTPVENDIMPNF3", &F::stIDTPVENDIMPNF3}, {"IDSOLICITADOTZ", &F::stIDSOLICITADOTZ},
    {"IDSOLICITANSU", &F::stIDSOLICITANSU}, {"IDENVIAPEDKDS", &F::stIDENVIAPEDKDS},
    {"IDIMPCNPJCLIE", &F::stIDIMPCNPJCLIE}, {"IDCOMISVENDA", &F::stIDCOMISVENDA},
    {"IDTRATTAXAENTR", &F::stIDTRATTAXAENTR}, {"CDPRODTAXASERV", &F::stCDPRODTAXASERV},
    {"CDPRODTXEXCEDE", &F::stCDPRODTXEXCEDE}, {"IDTRATTAXASERV", &F::stIDTRATTAXASERV},
    {"CDPRODTAXAENTR", &F::stCDPRODTAXAENTR}, {"IDSOLOBSFINVEN", &F::stIDSOLOBSFINVEN},
    {"NRCNPJLOJA", &F::stNRCNPJLOJA}, {"NRCNPJTEFHOUSE", &F::stNRCNPJTEFHOUSE},
    {"IDFECHACUPOM", &F::stIDFECHACUPOM}, {"IDIMPRVIACONSTEF", &F::stIDIMPRVIACONSTEF},
    {"CDTOKENTLS", &F::stCDTOKENTLS}, {"CDTPCOMUNTLS", &F::stCDTPCOMUNTLS},
    {"CDTPPROXYTLS", &F::stCDTPPROXYTLS}, {"CDENPROXYTLS", &F::stCDENPROXYTLS},
    {"IDINFOCPFPINPAD", &F::stIDINFOCPFPINPAD}, {"IDHABCAIXAVENDA", &F::stIDHABCAIXAVENDA},
    {"QTDMAXDIGNSU", &F::inQTDMAXDIGNSU}, {"IDALTTXSERV", &F::stIDALTTXSERV},
    {"IDCONSUBDESFOL", &F::stIDCONSUBDESFOL}, {"IDCPFPINPAD", &F::stIDCPFPINPAD},
    {"IDMOMENTOCPFVEN", &F::stIDMOMENTOCPFVEN}, {"IDVERGAVETANFIS", &F::stIDVERGAVETANFIS},
    {"IDINFNOMEEND", &F::stIDINFNOMEEND}, {"IDPERCOMVENCPDC", &F::stIDPERCOMVENCPDC}, {"CDLOJA", &F::stCDLOJA},
    {"IDEXTCONSONLINE", &F::stIDEXTCONSONLINE}, {"CDURLWSEXTCONS", &F::stCDURLWSEXTCONS},
    {"IDIMPRTEF", &F::stIDIMPRTEF}, {"IDINTRESGSALDO", &F::stIDINTRESGSALDO},
    {"IDUTILFID4ALL", &F::stIDUTILFID4ALL}, {"CDURLWSFID4ALL", &F::stCDURLWSFID4ALL},
    {"IDUTLINTFACELE", &F::stIDUTLINTFACELE}, {"IDUTILFIDUDS", &F::stIDUTILFIDUDS},
    {"CDURLWSFIDUDS", &F::stCDURLWSFIDUDS}, {"IDUTLCOMUDIRMFE", &F::stIDUTLCOMUDIRMFE},
    {"IDUTILINTEPROMO", &F::stIDUTILINTEPROMO}, {"CDURLINTEPROMO", &F::stCDURLINTEPROMO},
    {"IDDEBCONSCENTRAL", &F::stIDDEBCONSCENTRAL}, {"IDEXTCONSCENTRAL", &F::stIDEXTCONSCENTRAL},
    {"CDURLINTCARTPRE", &F::stCDURLINTCARTPRE}, {"IDAPLPREDIFCOMB", &F::stIDAPLPREDIFCOMB},
    {"IDSOLICITATEL", &F::stIDSOLICITATEL}, {"CDURLFIDONLINE", &F::stCDURLFIDONLINE},
    {"IDPERACRTXSECUP", &F::stIDPERACRTXSECUP}, {"IDSOLICTELGER", &F::stIDSOLICTELGER},
    {"IDUTLNFSVENCONS", &F::stIDUTLNFSVENCONS}, {"IDIMPCUPMEI", &F::stIDIMPCUPMEI},
    {"IDUTILINTVALPRE", &F::stIDUTILINTVALPRE}, {"CDURLINTVALPRE", &F::stCDURLINTVALPRE},
    {"NRSEGREQVALPRE", &F::stNRSEGREQVALPRE}, {"IDUTICOREBANC", &F::stIDUTICOREBANC},
    {"CDURLCOREBANC", &F::stCDURLCOREBANC}, {"NRTEMPOCOREBANC", &F::stNRTEMPOCOREBANC},
    {"IDUTILINTOLGA", &F::stIDUTILINTOLGA}, {"CDURLINTOLGA", &F::stCDURLINTOLGA},
    {"IDUTILFIXECRM", &F::stIDUTILFIXECRM}, {"CDURLFIXECRM", &F::stCDURLFIXECRM}, {"CDLOJA", &F::stCdLoja},
};

void ReadColumn(TfrmRecebimento& frm, base::Dataset& ds, const Column& column) {
  base::Field f = ds.FieldByName(column.name);  // a missing column stops the initialisation
  try {
    std::visit(
        [&](auto member) {
          using M = decltype(member);
          if constexpr (std::is_same_v<M, std::string F::*>) frm.*member = f.AsString();
          if constexpr (std::is_same_v<M, int F::*>) frm.*member = static_cast<int>(f.AsInteger());
          if constexpr (std::is_same_v<M, bool F::*>) frm.*member = f.AsBoolean();
          if constexpr (std::is_same_v<M, double F::*>) frm.*member = f.AsFloat();
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
          if constexpr (std::is_same_v<M, int F::*>) return base::FieldType::Integer;
          if constexpr (std::is_same_v<M, bool F::*>) return base::FieldType::Boolean;
          if constexpr (std::is_same_v<M, double F::*>) return base::FieldType::Float;
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

void TfrmRecebimento::CarregaParametrosZem() {
  if (cdsParametrosZem.Active() && !cdsParametrosZem.IsEmpty()) return;
  const auto path = base::FindSpecPath(datamodule::HostFolder(), "\\PARAMETROSZEM.CDS");
  if (path && std::filesystem::is_regular_file(*path)) {
    cdsParametrosZem.LoadFromFile(*path);
    if (!cdsParametrosZem.Active()) cdsParametrosZem.Open();
    cdsParametrosZem.First();
    for (const Column& column : kColumns) ReadColumn(*this, cdsParametrosZem, column);

    // The opening date may come as a date or as its day number.
    base::Field abertura = cdsParametrosZem.FieldByName("DTABERCAIX");
    if (abertura.Def().type == base::FieldType::DateTime) {
      dtDTABERCAIX = abertura.AsDateTime();
      doDTABERCAIX = abertura.IsNull() ? 0 : dtDTABERCAIX.DayNumber();
    } else {
      dtDTABERCAIX = doDTABERCAIX != 0 ? base::DateTime::FromDayNumber(doDTABERCAIX) : base::DateTime();
    }

    // Without sale commissions the service fee cannot be split by waiter.
    if (stIDCOMISVENDA == "N" && stIDTRATTAXASERV == "P") stIDTRATTAXASERV = "A";
    inHabCaixaVenda = stIDHABCAIXAVENDA == "TAA" ? 1 : 0;
  }
  // Applied without the file too: a limit of 0 digits would refuse every typed NSU.
  if (inQTDMAXDIGNSU <= 0) inQTDMAXDIGNSU = 10;
  if (stIDSOLICTELGER == "S") stIDSOLICITATEL = stIDSOLICTELGER;
}

}  // namespace recebimento::screen
