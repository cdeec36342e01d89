# bk_host_def(<out-file> [OMIT <name>]): writes the .def file that exports the
# host's BKA_ entry points from a program linking HostExports.cpp. OMIT leaves
# one name out, to play a host that lacks it.
set(BK_HOST_EXPORTS
    BKA_GetVersion@0 BKA_Command@0 BKA_GetWindowHandles@0 BKA_RegisterCommand@12
    BKA_RegisterUICallback@8 BKA_GetDataFolder@0 BKA_GetTempFolder@0 BKA_GetTempFileName@0
    BKA_GetCurrentMailBox@0 BKA_SetCurrentMailBox@0 BKA_GetCurrentFolder@0 BKA_SetCurrentFolder@0
    BKA_GetFolderDisplayName@4 BKA_SetMessageText@0 BKA_GetCurrentMail@0 BKA_SetCurrentMail@0
    BKA_GetNextMail@0 BKA_SetSel@0 BKA_AppendMessage@0 BKA_MoveSelectedMessages@0 BKA_GetStatus@0
    BKA_ComposeMail@0 BKA_GetCharSet@0 BKA_GetSource@0 BKA_SetSource@0 BKA_GetHeader@0
    BKA_GetText@0 BKA_SetText@0 BKA_GetSpecifiedHeader@0 BKA_SetSpecifiedHeader@0
    BKA_CompGetCharSet@0 BKA_CompGetSource@4 BKA_CompSetSource@8 BKA_CompGetHeader@0
    BKA_CompGetSpecifiedHeader@16 BKA_CompSetSpecifiedHeader@12 BKA_CompGetText@0
    BKA_CompSetText@12 BKA_CompAttachFile@0 BKA_Alloc@0 BKA_ReAlloc@0 BKA_Free@0
    BKA_ISO_2022_JP@0 BKA_ISO_2022_KR@0 BKA_HZ_GB2312@0 BKA_ISO_8859_2@0 BKA_EUC_JP@0
    BKA_UTF_7@0 BKA_UTF_8@0 BKA_B64Convert@0 BKA_QPConvert@0 BKA_MIMEHeader@0
    BKA_SerializeRcpts@0 BKA_Connect@0)

function(bk_host_def out)
    cmake_parse_arguments(D "" "OMIT" "" ${ARGN})
    set(text "EXPORTS\n")
    foreach(entry ${BK_HOST_EXPORTS})
        string(REGEX REPLACE "@.*" "" name ${entry})
        if(NOT name STREQUAL D_OMIT)
            string(APPEND text "    ${name} = ${entry}\n")
        endif()
    endforeach()
    file(WRITE ${out} "${text}")
endfunction()
