#ifndef STATE_MEMBERLISTS_H
#define STATE_MEMBERLISTS_H

// Every member of every record and model class, once, in declaration order, by pointer to member
// with its name. The documents, the validation and the layout test all read these lists, so a
// member added to a header must be added here as well (memberliststest fails until it is).
// Internal to the companion library (and its tests): not installed.

#include "codec.h"

#include <model/bankplayer/modelbankplayer.h>
#include <model/ic/modelic.h>
#include <model/keyboard/model_quorparam.h>
#include <model/processor/modelcalyth.h>
#include <model/records/model_api_param.h>
#include <model/records/model_osdparam.h>
#include <model/records/model_protocoldata.h>
#include <model/scene/modelscene.h>
#include <model/topology/model_topology_param.h>

namespace StateCodec {

// A scene bank owns the two vectors behind its pointers (the model releases them with the bank).
template<>
struct Release<_SceneBank_Record>
{
    static constexpr bool owns = true;
    static void contents(_SceneBank_Record &bank)
    {
        delete bank.pLayerVec;
        bank.pLayerVec = nullptr;
        delete bank.pOutputFlagVec;
        bank.pOutputFlagVec = nullptr;
    }
};

// A member under its own name, and a byte buffer (a string of one character per byte).
#define FIELD(member) field(#member, &C::member)
#define TEXT(member) byteText(#member, &C::member)
// The members of a record, in declaration order: apply(visit) calls visit with every field as
// one argument of its own. No tuple holds them: a tuple of a hundred types costs each file that
// includes this one seconds to build. A class saved as a document of its own also names itself.
#define RECORD(Class, ...)                                                                         \
    template<>                                                                                     \
    struct Members<Class>                                                                          \
    {                                                                                              \
        using C = Class;                                                                           \
        template<typename Visit>                                                                   \
        static auto apply(Visit &&visit)                                                           \
        {                                                                                          \
            return visit(__VA_ARGS__);                                                             \
        }                                                                                          \
    }
#define DOCUMENT(Class, ...)                                                                       \
    RECORD(Class, __VA_ARGS__);                                                                    \
    template<>                                                                                     \
    inline constexpr QLatin1String documentClassName<Class> = latin1(#Class)

// clang-format off
RECORD(_Int12_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9), FIELD(value10), FIELD(value11),
    FIELD(value12));

RECORD(_OutputA_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8));

RECORD(_OutputB_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9));

RECORD(_OutputC_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8));

RECORD(_OutputD_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4));

RECORD(_OutputE_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9), FIELD(value10), FIELD(value11),
    FIELD(value12), FIELD(value13), FIELD(value14), FIELD(value15), FIELD(value16),
    FIELD(value17), FIELD(value18), FIELD(value19));

RECORD(_OutputF_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5));

RECORD(_OutputG_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9), FIELD(value10), FIELD(value11),
    FIELD(value12));

RECORD(_OutputH_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4));

RECORD(_OutputI_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9), FIELD(value10), FIELD(value11));

RECORD(_OutputJ_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7));

RECORD(_OutputName_Record,
    FIELD(name1), FIELD(name2));

RECORD(_SourceWindow_Record,
    FIELD(x1), FIELD(y1), FIELD(width1), FIELD(height1), FIELD(x2), FIELD(y2), FIELD(width2),
    FIELD(height2), FIELD(value9), FIELD(value10), FIELD(value11), FIELD(value12),
    FIELD(value13), FIELD(value14), FIELD(value15), FIELD(value16), FIELD(value17),
    FIELD(value18), FIELD(value19), FIELD(value20), FIELD(value21), FIELD(value22),
    FIELD(value23), FIELD(value24), FIELD(value25), FIELD(value26), FIELD(value27),
    FIELD(value28), FIELD(value29), FIELD(value30));

RECORD(_SourceB_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9), FIELD(value10), FIELD(value11),
    FIELD(value12), FIELD(value13));

RECORD(_SourceC_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9), FIELD(value10));

RECORD(_InputPort_Record,
    FIELD(portValues1), FIELD(portValues2), FIELD(portValues3), FIELD(portValues4),
    FIELD(portValues5), FIELD(portValues6));

RECORD(_InputBoard_Record,
    FIELD(byte1), FIELD(byte2), FIELD(byte3), FIELD(byte4), FIELD(byte5), FIELD(byte6),
    FIELD(byte7), FIELD(byte8), FIELD(byte9), FIELD(word1), FIELD(word2), FIELD(word3),
    FIELD(word4), FIELD(word5), FIELD(word6), FIELD(word7), FIELD(word8), FIELD(word9),
    FIELD(word10), FIELD(block1), FIELD(block2), FIELD(block3));

RECORD(_Layer_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9), FIELD(value10));

RECORD(_Container_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9), FIELD(value10), FIELD(value11),
    FIELD(value12), FIELD(value13), FIELD(value14), TEXT(name), FIELD(outputValues));

RECORD(_Int9_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9));

DOCUMENT(ModelCalyth,
    FIELD(m_deviceCode), FIELD(m_initConstant), FIELD(m_pOutputVecA), FIELD(m_pOutputVecB),
    FIELD(m_pOutputVecC), FIELD(m_pOutputVecD), FIELD(m_pOutputFlagVec), FIELD(m_pOutputVecE),
    FIELD(m_pOutputVecF), FIELD(m_intBlock1), FIELD(m_intBlock2), FIELD(m_intBlock3),
    FIELD(m_spareTextList), FIELD(m_intBlock4), FIELD(m_value1), FIELD(m_intBlock5),
    FIELD(m_intBlock6), FIELD(m_intBlock7), FIELD(m_intBlock8), FIELD(m_text1),
    FIELD(m_inputBoardNameList), FIELD(m_outputBoardNameList), FIELD(m_textBlock1),
    FIELD(m_byte1), FIELD(m_value2), FIELD(m_value3), FIELD(m_value4),
    FIELD(m_sourceFlagListA), FIELD(m_sourceFlagListB), FIELD(m_sourceFlagListC),
    FIELD(m_sourceFlagListD), FIELD(m_sourceValueListA), FIELD(m_sourceTextList),
    FIELD(m_sourceValueListB), FIELD(m_sourceValueListC), FIELD(m_sourceWindowList),
    FIELD(m_sourceRecBList), FIELD(m_sourceRecCList), FIELD(m_outputBoardFlagListA),
    FIELD(m_intBlock9), FIELD(m_text2), FIELD(m_byte2), FIELD(m_outputBoardTextListA),
    FIELD(m_outputBoardFlagListB), FIELD(m_outputBoardTextListB),
    FIELD(m_outputBoardFlagListC), FIELD(m_text3), FIELD(m_byte3), FIELD(m_text4),
    FIELD(m_byte4), FIELD(m_byte5), FIELD(m_value5), FIELD(m_intBlock10), FIELD(m_text5),
    FIELD(m_spareValueList), FIELD(m_value6), FIELD(m_value7), FIELD(m_value8),
    FIELD(m_resolutionWidth), FIELD(m_resolutionHeight), FIELD(m_text6), FIELD(m_value9),
    FIELD(m_byte6), FIELD(m_textBlock2), FIELD(m_outputBoardGroupListA),
    FIELD(m_outputBoardGroupListB), FIELD(m_byte7), FIELD(m_value10), FIELD(m_byte8),
    FIELD(m_value11), FIELD(m_byte9), FIELD(m_intBlock11), FIELD(m_doubleValue),
    FIELD(m_spareBytes), FIELD(m_pOutputRecHVec), FIELD(m_intBlock12),
    FIELD(m_spareRecordList), FIELD(m_inputBoardRecList), FIELD(m_inputPortList),
    FIELD(m_inputBoardInfoList), FIELD(m_intBlock13), FIELD(m_outputFlagList),
    FIELD(m_outputRecAList), FIELD(m_outputRecBList), FIELD(m_containerList),
    FIELD(m_outputRecCList), FIELD(m_outputRecDList), FIELD(m_outputRecEList),
    FIELD(m_outputRecFList), FIELD(m_outputRecGList), FIELD(m_intBlock14), FIELD(m_intBlock15),
    FIELD(m_value12), FIELD(m_value13), FIELD(m_value14), FIELD(m_value15), FIELD(m_pLayerVec),
    FIELD(m_intBlock16), FIELD(m_shortBlock), FIELD(m_byteBlock), FIELD(m_pOutputRecIVec),
    FIELD(m_pOutputRecJVec), FIELD(m_spareRecordVec), FIELD(m_outputQuadNameList),
    FIELD(m_outputNamePairList), FIELD(m_maxPreOutputCount), FIELD(m_maxPreOutputGroup),
    FIELD(m_maxLinkOutputCount), FIELD(m_maxLinkOutputGroup), FIELD(m_maxOutputCount),
    FIELD(m_maxSourceCount), FIELD(m_maxBankCount), FIELD(m_maxBankNameLength),
    FIELD(m_maxLayerCount), FIELD(m_maxPageCount), FIELD(m_maxInputBoardCount),
    FIELD(m_maxOutPutBoardCount), FIELD(m_maxInputBoardPortCount),
    FIELD(m_maxOutputBoardPortCount), FIELD(m_maxContainerCount), FIELD(m_maxContainerName),
    FIELD(m_maxMonitorLayerCount), FIELD(m_maxPvwBoardCount));

RECORD(_SceneLayer_Record,
    FIELD(areaX), FIELD(areaY), FIELD(areaWidth), FIELD(areaHeight), FIELD(area2X),
    FIELD(area2Y), FIELD(area2Width), FIELD(area2Height), FIELD(value1), FIELD(value2),
    FIELD(value3), FIELD(value4), FIELD(layerIndex), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(flag1), FIELD(flag2), FIELD(flag3), FIELD(value9),
    FIELD(value10), FIELD(value11), FIELD(text));

RECORD(_SceneBank_Record,
    FIELD(pLayerVec), FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(flag1),
    FIELD(flag2), FIELD(pOutputFlagVec));

RECORD(_SceneOutput_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(value9), FIELD(value10), FIELD(value11),
    FIELD(value12), FIELD(value13), FIELD(value14), FIELD(value15), FIELD(value16),
    FIELD(value17), FIELD(value18), FIELD(value19), FIELD(value20), FIELD(value21),
    FIELD(value22), FIELD(value23), FIELD(value24), FIELD(value25), FIELD(value26),
    FIELD(value27), FIELD(value28), FIELD(value29), FIELD(value30));

RECORD(_SceneContainer_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5));

DOCUMENT(ModelScene,
    FIELD(m_deviceCode), FIELD(m_pLayerVec), FIELD(m_pBankVec), FIELD(m_pBankOutputVec),
    FIELD(m_containerList), FIELD(m_sourceList), FIELD(m_initConstant), FIELD(m_value1),
    FIELD(m_value2), FIELD(m_flag1), FIELD(m_flag2), FIELD(m_value3), FIELD(m_data),
    FIELD(m_flag3), FIELD(m_maxSourceCount), FIELD(m_maxBankCount), FIELD(m_maxBankNameLength),
    FIELD(m_maxLayerCount), FIELD(m_maxOutputCount), FIELD(m_maxContainerCount),
    FIELD(m_maxInputBoardCount));

RECORD(_BankPlayerItem_Record,
    FIELD(value1), FIELD(text1), FIELD(text2), FIELD(text3), FIELD(text4), FIELD(text5));

DOCUMENT(ModelBankPlayer,
    FIELD(m_deviceCode), FIELD(m_initConstant), FIELD(m_value1), FIELD(m_value2),
    FIELD(m_value3), FIELD(m_value4), FIELD(m_value5), FIELD(m_value6), FIELD(m_value7),
    FIELD(m_flag1), FIELD(m_value8), FIELD(m_bankBytes1), FIELD(m_bankValues1),
    FIELD(m_bankIndex1), FIELD(m_bankValues2), FIELD(m_bankValues3), FIELD(m_bankValues4),
    FIELD(m_flag2), FIELD(m_bankValues5), FIELD(m_bankIndex2), FIELD(m_bankValues6),
    FIELD(m_bankValues7), FIELD(m_bankValues8), FIELD(m_bankBytes2), FIELD(m_value9),
    FIELD(m_value10), FIELD(m_items1), FIELD(m_spareBytes), FIELD(m_items2),
    FIELD(m_maxBankCount), FIELD(m_maxOutputCount));

RECORD(_ICGroup_Record,
    FIELD(value1), FIELD(value2), FIELD(value3), FIELD(value4), FIELD(value5), FIELD(value6),
    FIELD(value7), FIELD(value8), FIELD(text1), FIELD(text2));

RECORD(_ICSignalGroup_Record,
    FIELD(value1), FIELD(text1), FIELD(text2), FIELD(text3));

RECORD(_ICPort_Record,
    FIELD(value1), FIELD(flag1), FIELD(text1), FIELD(text2), FIELD(text3), FIELD(text4),
    FIELD(text5), FIELD(text6), FIELD(text7), FIELD(text8), FIELD(text9), FIELD(text10),
    FIELD(flag2), FIELD(flag3), FIELD(flag4));

RECORD(_UserList_Destktop,
    FIELD(userName), FIELD(text1), FIELD(value1), FIELD(value2), FIELD(value3), FIELD(text2),
    FIELD(text3), FIELD(text4), FIELD(value4));

DOCUMENT(ModelIC,
    FIELD(m_groupList), FIELD(m_signalGroupList), FIELD(m_inPortList), FIELD(m_outPortList),
    FIELD(m_userList), FIELD(m_deviceCode), FIELD(m_initConstant), FIELD(m_maxGroupCount),
    FIELD(m_maxSignalGroupCount), FIELD(m_maxInPortCount), FIELD(m_maxOutPortCount),
    FIELD(m_maxUserCount));

RECORD(_OledKey_Param,
    FIELD(color), FIELD(mode), FIELD(bright), FIELD(oLedShowMode), FIELD(icon),
    FIELD(firstStringLen), FIELD(secondStringLen), FIELD(thirdStringLen), TEXT(firstString),
    TEXT(secondString), TEXT(thirdString));

DOCUMENT(Model_QuorParam,
    FIELD(m_word1), FIELD(m_interval), FIELD(m_value1), FIELD(m_flag1), FIELD(m_value2),
    FIELD(m_word2), FIELD(m_presetKeys), FIELD(m_shortcutKeys), FIELD(m_layerKeys),
    FIELD(m_outputKeys), FIELD(m_inputKeys), FIELD(m_commonKeys), FIELD(m_map));

DOCUMENT(model_topology_param,
    FIELD(m_text1), FIELD(m_word1), FIELD(m_text2), FIELD(m_text3), FIELD(m_value1),
    FIELD(m_word2), FIELD(m_text4), FIELD(m_text5), FIELD(m_text6), FIELD(m_word3),
    FIELD(m_value2), FIELD(m_value3), FIELD(m_value4), FIELD(m_word4), FIELD(m_word5),
    FIELD(m_slotValuesA), FIELD(m_slotValuesB), FIELD(m_slotTextsA), FIELD(m_slotTextsB),
    FIELD(m_text7));

DOCUMENT(model_API_param,
    FIELD(m_apiText1), FIELD(m_apiText2), FIELD(m_apiNumber1), FIELD(m_apiNumber2),
    FIELD(m_apiNumber3), FIELD(m_apiNumber4), FIELD(m_netText1), FIELD(m_netText2),
    FIELD(m_netText3), FIELD(m_apiNumber5), FIELD(m_apiNumber6), FIELD(m_apiNumber7),
    FIELD(m_apiNumber8));

DOCUMENT(model_Protocoldata,
    FIELD(m_ipAddress1), FIELD(m_protoByte1), FIELD(m_ipAddress2), FIELD(m_protoByte2),
    FIELD(m_protoWord1), FIELD(m_protoWord2), FIELD(m_protoByte3), FIELD(m_protoWord3),
    FIELD(m_protoWord4), FIELD(m_protoWord5), FIELD(m_protoByte4), FIELD(m_protoByte5),
    FIELD(m_protoByte6), FIELD(m_protoByte7), FIELD(m_protoByte8), FIELD(m_protoByte9),
    FIELD(m_protoByte10), FIELD(m_protoNumber1), FIELD(m_protoText), FIELD(m_protoData),
    FIELD(m_protoByte11), FIELD(m_protoNumber2));

DOCUMENT(model_OsdParam,
    FIELD(m_osdByte1), FIELD(m_osdByte2), FIELD(m_osdByte3), FIELD(m_osdByte4),
    FIELD(m_osdByte5), FIELD(m_osdByte6), FIELD(m_osdByte7), FIELD(m_osdByte8),
    FIELD(m_osdByte9), FIELD(m_osdByte10), FIELD(m_osdByte11), FIELD(m_osdText1),
    FIELD(m_osdByte12), FIELD(m_osdNumber1), FIELD(m_osdText2), FIELD(m_osdData),
    FIELD(m_osdNumber2));

// clang-format on

#undef FIELD
#undef TEXT
#undef RECORD
#undef DOCUMENT

} // namespace StateCodec

// The classes saved as documents of their own, in the order of ModelState's overloads and of
// ModelState::classNames(): X(Class) for each.
#define STATE_DOCUMENT_CLASSES(X)                                                                  \
    X(ModelCalyth)                                                                                 \
    X(ModelScene)                                                                                  \
    X(ModelBankPlayer)                                                                             \
    X(ModelIC)                                                                                     \
    X(Model_QuorParam)                                                                             \
    X(model_topology_param)                                                                        \
    X(model_API_param)                                                                             \
    X(model_Protocoldata)                                                                          \
    X(model_OsdParam)

#endif // STATE_MEMBERLISTS_H
