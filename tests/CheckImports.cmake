# Vuka6.exe must import only libraries that Windows always loads from its
# own folder (KnownDLLs), no function that a Windows 7 without updates
# lacks (the exe would not start there at all), and must ask for ASLR with
# high entropy and DEP. Nor may the linker have put in any of the runtime's
# machinery for throwing, catching or locking a static (its map, MAP, says
# what it took from each library): nothing in the program may need an
# exception to report a failure.
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)

# Functions a MinGW program can come to import that Windows 7 as released
# does not have: the search-path functions of update KB2533623, and what
# Windows 8 and 10 added that the C and C++ runtimes or our code might reach.
set(newer_than_windows7
    AddDllDirectory RemoveDllDirectory SetDefaultDllDirectories
    GetSystemTimePreciseAsFileTime CreateFile2 GetCurrentThreadStackLimits
    WaitOnAddress WakeByAddressAll WakeByAddressSingle
    SetThreadDescription GetThreadDescription
    GetDpiForWindow GetDpiForSystem SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext
    AdjustWindowRectExForDpi GetSystemMetricsForDpi SystemParametersInfoForDpi EnableNonClientDpiScaling)
# objdump lists each imported function as "<hint-table address> <hint> <name>";
# newer binutils (Debian 13) put "<none>" for the ordinal before a hexadecimal hint.
string(REGEX MATCHALL "\n\t[0-9a-f]+[ \t]+(<none>[ \t]+)?[0-9a-f]+[ \t]+[A-Za-z_0-9]+" functions "${headers}")
list(JOIN newer_than_windows7 "|" newer)
if("${functions};" MATCHES "[ \t](${newer});")
    message(FATAL_ERROR "Vuka6.exe imports ${CMAKE_MATCH_1}, which Windows 7 may lack: look it up at run time")
endif()
# KillTimer is the one the exe cannot do without; its absence would mean
# the listing was not read.
if(NOT "${functions}" MATCHES "[ \t]KillTimer")
    message(FATAL_ERROR "no imported functions found: objdump's output changed?")
endif()
list(LENGTH functions function_count)
message(STATUS "${function_count} imported functions, none newer than Windows 7")

string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${headers}")
set(allowed GDI32.dll KERNEL32.dll msvcrt.dll USER32.dll)
foreach(line IN LISTS lines)
    string(REPLACE "DLL Name: " "" dll "${line}")
    string(STRIP "${dll}" dll)
    list(FIND allowed "${dll}" index)
    if(index EQUAL -1)
        message(FATAL_ERROR "Vuka6.exe imports ${dll}, which Windows may look for beside the exe")
    endif()
    message(STATUS "imports ${dll}")
endforeach()
if(NOT lines)
    message(FATAL_ERROR "no imports found: objdump's output changed?")
endif()

string(REGEX MATCH "DllCharacteristics[ \t]+([0-9a-fA-F]+)" match "${headers}")
math(EXPR flags "0x${CMAKE_MATCH_1}")
math(EXPR wanted "0x20 | 0x40 | 0x100")  # high-entropy VA, dynamic base, NX compatible
math(EXPR present "${flags} & ${wanted}")
if(NOT present EQUAL wanted)
    message(FATAL_ERROR "DllCharacteristics ${CMAKE_MATCH_1} lacks ASLR or DEP")
endif()

file(READ ${MAP} map)
string(REGEX MATCHALL "lib(stdc\\+\\+|supc\\+\\+|gcc_eh|winpthread|pthread)\\.a\\([A-Za-z0-9_.-]+\\)" members "${map}")
list(REMOVE_DUPLICATES members)
foreach(member IN LISTS members)
    # Throwing and catching (eh_*, the std::__throw_* functions), the runtime's operator new, which
    # throws, and the locks of function-local statics; the unwinder and threads come only with them.
    if(member MATCHES "\\((eh_[a-z_]+|functexcept|new_op[a-z]*|guard)\\.o\\)$|^lib(gcc_eh|winpthread|pthread)\\.a")
        message(FATAL_ERROR "Vuka6.exe holds ${member} of the runtime: something in it throws, catches or locks")
    endif()
endforeach()
# The program's own archives are listed the same way: without them, the map was not read.
if(NOT map MATCHES "libvuka6_framework\\.a\\(CWnd\\.cpp\\.obj\\)")
    message(FATAL_ERROR "no archive members found in ${MAP}: the linker's map changed?")
endif()
list(LENGTH members count)
message(STATUS "${count} members of the C++ runtime, none that throws, catches or locks")
