# cmake -DIN=<text file> -DOUT=<file> -P CrLf.cmake: copies a text file with
# Windows line ends, so Notepad shows its lines.
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
