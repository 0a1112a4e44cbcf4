# EmbedFile.cmake — turns one binary file into a C++ source holding its bytes.
#
# Run as: cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -P EmbedFile.cmake
# The source defines  extern const unsigned char <SYMBOL>[]  and
# extern const unsigned long <SYMBOL>Size  in namespace toolkit::embedded.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR byteCount "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Break the list into lines of 32 bytes so compilers and editors cope.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}"
"// Generated from ${INPUT} at build time; do not edit.\n"
"namespace toolkit { namespace embedded {\n"
"extern const unsigned char ${SYMBOL}[];\n"
"extern const unsigned long ${SYMBOL}Size;\n"
"const unsigned char ${SYMBOL}[] = {\n${bytes}\n};\n"
"const unsigned long ${SYMBOL}Size = ${byteCount};\n"
"} }\n")
