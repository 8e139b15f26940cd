#pragma once
// The host's configuration: one field per column of its parameters file
// (PARAMETROSZEM.CDS), named after the column with its type prefix, and the rules
// between columns. A missing file leaves every field empty, 0 or false.
#include <string>
#include <vector>

#include "base/data_packet.h"
#include "base/datetime.h"
#include "host/pos/host_paths.h"

namespace recebimento::screen {

// The widest customer display the screen writes to, in characters.
inline constexpr int kWidestCustomerDisplay = 80;

struct ParametrosZem {
  int inIDTIPOIMPFIS = 0, inTAMDISPLAY = 0, inCTCUPDESCONTO = 0, inCTABRIRGAVETA = 0, inCTACRESCIMO = 0,
      inCTSELECCLICONS = 0, inCTRETTAXASERV = 0, inQTDMAXDIGNSU = 0;
  bool boDisplayOK = false, boSISTEMAVANTOMI = false, boSISTEMAZEMNFCE = false, boUTILIZAIMPFIS = false,
       boSISTEMAZEMSAT = false;
  double doDTABERCAIX = 0, doNRDIASCUPTROCA = 0, doVRPEMAXREPIQMRX = 0, doVRCOMISVENDA = 0, doVROBRIGCPFNOTA = 0;
  std::string stDSDIRCAD, stDSDIRFOTOZEM, stIDESQUEMA, stIDCOLETOR, stIDUTILTEF, stIDBLOQIDCART, stDSENDIPSITEF,
      stIDTPTEF, stCDPORTATEF, stCDESTTEF, stCDLOJATEF, stCDTERTEF, stIDIMPCUPFIS, stIDUTILCHEQ, stCDFILIAL,
      stIDCOUVERART, stCDPRODCOUVER, stCDCAIXA, stIDSOLICITACPF, stIDTIPOGAVETA, stCDPORTAIMPFIS, stSTTOTCV,
      stDSOBSCUPFIS, stIDIMPBARRCUP, stNMPADBARRCUP, stIDIMPSALDOCUPOM, stIdTpTelaVe, stDSMENSCPFCUP, stIDIMPRCUPTEFRED,
      stIDIMPVENDCON, stIDIMPCOMPVCP, stIDPAISINTEGRA, stIDIMPCOMPDEBCON, stCDPORTIMPNF1, stIDTIPOIMPNF1,
      stNMRAZSOCFILI, stDSENDEFILI, stCDINSCMUNIFILI, stNMCAIXA, stNMBAIRFILI, stNMMUNICIPIOFILI, stSGESTADOFILI,
      stIDTPVENDIMPNF1, stIDTIPOIMPNF2, stCDPORTIMPNF2, stIDTPVENDIMPNF2, stCDPREFINTGCOL, stNRCUPINIINTGCOL,
      stNRCUPFININTGCOL, stCDPRODCONSUM, stSTPROCESSAMENTO, stDSDIRPENTEF, stIDIMPCOMPCUPVEN, stIDIMPCUPTROCA,
      stNRSERIEIMP, stECFIMP, stIDTPCONTRREPIQ, stNRINSJURFILI, stCDINSCESTAEMPR, stNRINSJUREMPR, stIDPARIMPRLIMVDC,
      stIDSOLOBSDESC, stIDHABFORMTEF, stIDEXISTECAMPDOTZ, stCDEMPRESA, stNRDIAFECHAFOLHA, stDSLOGOTELA, stIDAMBTRABNFCE,
      stIDINTHOTEL, stIDTIPOIMPNF3, stCDPORTIMPNF3, stIDTPVENDIMPNF3, stIDSOLICITADOTZ, stIDSOLICITANSU,
      stIDENVIAPEDKDS, stIDIMPCNPJCLIE, stIDCOMISVENDA, stIDTRATTAXAENTR, stCDPRODTAXASERV, stCDPRODTXEXCEDE,
      stIDTRATTAXASERV, stCDPRODTAXAENTR, stIDSOLOBSFINVEN, stNRCNPJLOJA, stNRCNPJTEFHOUSE, stIDFECHACUPOM,
      stIDIMPRVIACONSTEF, stCDTOKENTLS, stCDTPCOMUNTLS, stCDTPPROXYTLS, stCDENPROXYTLS, stIDINFOCPFPINPAD,
      stIDHABCAIXAVENDA, stIDALTTXSERV, stIDCONSUBDESFOL, stIDCPFPINPAD, stIDMOMENTOCPFVEN, stIDVERGAVETANFIS,
      stIDINFNOMEEND, stIDPERCOMVENCPDC, stCDLOJA, stIDEXTCONSONLINE, stCDURLWSEXTCONS, stIDIMPRTEF, stIDINTRESGSALDO,
      stIDUTILFID4ALL, stCDURLWSFID4ALL, stIDUTLINTFACELE, stIDUTILFIDUDS, stCDURLWSFIDUDS, stIDUTLCOMUDIRMFE,
      stIDUTILINTEPROMO, stCDURLINTEPROMO, stIDDEBCONSCENTRAL, stIDEXTCONSCENTRAL, stCDURLINTCARTPRE, stIDAPLPREDIFCOMB,
      stIDSOLICITATEL, stCDURLFIDONLINE, stIDPERACRTXSECUP, stIDSOLICTELGER, stIDUTLNFSVENCONS, stIDIMPCUPMEI,
      stIDUTILINTVALPRE, stCDURLINTVALPRE, stNRSEGREQVALPRE, stIDUTICOREBANC, stCDURLCOREBANC, stNRTEMPOCOREBANC,
      stIDUTILINTOLGA, stCDURLINTOLGA, stIDUTILFIXECRM, stCDURLFIXECRM;
  std::string stCdLoja;         // CDLOJA once more (the host reads the column into two fields)
  base::DateTime dtDTABERCAIX;  // DTABERCAIX as a date
  int inHabCaixaVenda = 0;      // 1 when IDHABCAIXAVENDA is "TAA"

  // Reads the file at `path` (a missing column stops with an error naming it), then
  // applies the rules between columns.
  void LoadFromFile(const std::string& path);
  // The same from the file's packet.
  void LoadFromPacket(const base::DataPacket& packet);
  // The rules that hold with or without the file.
  void ApplyRules();
};

// The parameters file of the host at `paths`; defaults (and the rules) without it.
ParametrosZem LoadParametrosZem(const pos::HostPaths& paths);

struct ParametroColumn {
  std::string name;
  base::FieldType type;  // how the screen reads it
};

// Every column, once each, in the order the screen reads them.
std::vector<ParametroColumn> ParametrosZemColumns();

}  // namespace recebimento::screen
