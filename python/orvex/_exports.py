"""The C signatures of the device library's 43 exports and of the adapter
functions the package calls, as data: name, result type, argument types."""

from __future__ import annotations

import ctypes
from ctypes import POINTER, c_char, c_char_p, c_double, c_float, c_int32, c_uint8, c_uint16
from ctypes import c_uint32
from typing import Any, Dict, Optional, Sequence, Tuple

Signature = Tuple[Optional[Any], Sequence[Any]]

_status = c_int32
_channel = c_uint8

DEVICE_EXPORTS: Dict[str, Signature] = {
    # identification
    "Orvex_Version": (c_uint16, ()),
    "Orvex_Check": (_status, (POINTER(c_uint8),)),
    "Orvex_FW_Ver": (_status, (POINTER(c_uint16),)),
    "Orvex_FW_Date": (_status, (POINTER(c_char),)),
    "Orvex_Prod_ID": (_status, (POINTER(c_char),)),
    "Orvex_Prod_No": (_status, (POINTER(c_uint32),)),
    # channel output settings
    "Orvex_SetAmplification": (_status, (_channel, c_float)),
    "Orvex_GetAmplification": (_status, (_channel, POINTER(c_float))),
    "Orvex_SetPolarity": (_status, (_channel, c_uint8)),
    "Orvex_GetPolarity": (_status, (_channel, POINTER(c_uint8))),
    "Orvex_SetOffset": (_status, (_channel, c_float)),
    "Orvex_GetOffset": (_status, (_channel, POINTER(c_float))),
    "Orvex_SetOffsetRange": (_status, (c_float,)),
    "Orvex_GetOffsetRange": (_status, (POINTER(c_float),)),
    "Orvex_SetAmplitude": (_status, (_channel, c_float)),
    "Orvex_GetAmplitude": (_status, (_channel, POINTER(c_float))),
    "Orvex_GetMeasAmplit": (_status, (_channel, POINTER(c_float))),
    "Orvex_SetOperMode": (_status, (_channel, c_uint8)),
    "Orvex_GetOperMode": (_status, (_channel, POINTER(c_uint8))),
    # filters
    "Orvex_SetLPF": (_status, (_channel, c_uint8)),
    "Orvex_GetLPF": (_status, (_channel, POINTER(c_uint16), POINTER(c_uint8))),
    "Orvex_SetHPF_Tau": (_status, (_channel, c_uint8)),
    "Orvex_GetHPF_Tau": (_status, (_channel, POINTER(c_uint8))),
    "Orvex_SetFLT": (_status, (_channel, c_uint8)),
    "Orvex_GetFLT": (_status, (_channel, POINTER(c_uint16), POINTER(c_uint8))),
    "Orvex_GetLPF_Frequency": (c_float, (c_uint16, c_uint8)),
    "Orvex_GetLPF_Damping": (c_float, (c_uint16, c_uint8)),
    "Orvex_GetLPF_Parameters": (None, (c_uint16, c_uint8, POINTER(c_float), POINTER(c_float))),
    "Orvex_GetLPF_Alpha": (c_uint16, (c_uint8, c_float)),
    "Orvex_GetFLT_Frequency": (c_float, (c_uint16, c_uint8)),
    "Orvex_GetFLT_Damping": (c_float, (c_uint16, c_uint8)),
    "Orvex_GetFLT_Parameters": (None, (c_uint16, c_uint8, POINTER(c_float), POINTER(c_float))),
    "Orvex_GetFLT_Alpha": (c_uint16, (c_uint8, c_float)),
    "Orvex_GetHPF_Frequency": (c_float, (c_uint8,)),
    # housekeeping, clocks and uptime
    "Orvex_Get5V": (_status, (POINTER(c_float),)),
    "Orvex_Get3V": (_status, (POINTER(c_float),)),
    "Orvex_GetTemp": (_status, (POINTER(c_float),)),
    "Orvex_GetClkCPU": (_status, (POINTER(c_float),)),
    "Orvex_GetClkPer": (_status, (POINTER(c_float),)),
    "Orvex_GetClkADC": (_status, (POINTER(c_float),)),
    "Orvex_GetClkDAC": (_status, (POINTER(c_float),)),
    "Orvex_GetClkFilt": (_status, (POINTER(c_float),)),
    "Orvex_GetUptime": (_status, (POINTER(c_double),)),
}

# The adapter functions the package calls itself; the device library calls
# the transfers.
ADAPTER_FUNCTIONS: Dict[str, Signature] = {
    "Tarvish_Version": (c_uint16, ()),
    "Tarvish_Open": (_status, ()),
    "Tarvish_Flush_LPT": (_status, ()),
    "Tarvish_GetSlot": (_status, (POINTER(c_uint8), c_int32, c_int32)),
    "Tarvish_SetSlot": (_status, (c_uint8, c_int32, c_int32)),
    "Tarvish_ErrorMessage": (c_char_p, ()),
    "Tarvish_IO_ErrorMessage": (c_char_p, ()),
}

# Arguments of the slot functions: the module slot, the bus master kept.
SLOT_MODULE = 1
SLOT_KEEP = 0

# Buffer sizes of the two texts, terminator included.
FIRMWARE_DATE_SIZE = 16
PRODUCT_ID_SIZE = 81


def declare(library: ctypes.CDLL, table: Dict[str, Signature]) -> None:
    """Gives every function of the table its C signature."""
    for name, (result, arguments) in table.items():
        function = getattr(library, name)
        function.restype = result
        function.argtypes = list(arguments)
