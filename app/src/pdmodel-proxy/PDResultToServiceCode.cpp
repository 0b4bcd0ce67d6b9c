#include "pdmodel-proxy/PDResultToServiceCode.h"

uint32_t PDResultToServiceCode(PDResult result) {
    switch (result) {
    case -1:
        return 14;
    case 0:
        return 0;
    case 1:
        return 2;
    case 2:
        return 3;
    case 3:
        return 8;
    case 4:
        return 9;
    case 5:
        return 21;
    case 6:
        return 12;
    case 7:
        return 10;
    case 8:
        return 11;
    case 11:
        return 0x30002;
    case 12:
        return 0x30004;
    case 13:
        return 0x30005;
    case 14:
        return 0x30006;
    case 15:
        return 0x30007;
    case 16:
        return 0x30008;
    case 17:
        return 0x30009;
    case 18:
        return 0x3000a;
    case 19:
        return 0x3000b;
    case 32:
        return 0x3000c;
    case 33:
        return 0x3000d;
    case 34:
        return 0x3000e;
    default:
        return 25;
    }
}
