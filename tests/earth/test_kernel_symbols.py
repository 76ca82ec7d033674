"""The globe's kernels, each built for its own instruction set, share no code
with the rest of the program: their objects define, outside themselves, only
the kernel, and no inline function the linker could pick from the wrong one."""
import os
import re
import subprocess
import unittest

CORE = os.environ["GLOBE_CORE"]
KERNEL_OBJECT = re.compile(r"globe_(lanes_\w+|float_kernel)\.cpp\.o$")


def symbols():
    """{object: [(type, name)]} for the library's kernel objects, defined symbols only."""
    out = subprocess.run(["nm", "--defined-only", "-A", "-C", CORE], capture_output=True, text=True, check=True).stdout
    found = {}
    for line in out.splitlines():
        where, _, kind, name = re.match(r"(.*?):\s*([0-9a-f]*)\s+(\S)\s+(.*)", line).groups()
        obj = where.rsplit(":", 1)[-1]
        # The unwinder's pointer to the C++ personality routine, which a
        # sanitized build's cleanups ask for, is data, not shared code.
        if KERNEL_OBJECT.search(obj) and not name.startswith("DW.ref.__gxx_personality"):
            found.setdefault(obj, []).append((kind, name))
    return found


class KernelSymbols(unittest.TestCase):
    def test_each_kernel_object_exports_its_kernel_alone(self):
        found = symbols()
        self.assertIn("globe_float_kernel.cpp.o", found)
        if os.uname().machine == "x86_64":
            self.assertTrue({"globe_lanes_sse2.cpp.o", "globe_lanes_avx2.cpp.o"} <= set(found))
        for obj, syms in found.items():
            # Upper case is global, and W, V and u are the weak and unique
            # copies of inline functions and their statics.
            shared = [name for kind, name in syms if kind.isupper() or kind in "u"]
            self.assertEqual(len(shared), 1, f"{obj}: {shared}")
            self.assertRegex(shared[0], r"^row_texels_\w+\(", obj)
            self.assertFalse([s for s in syms if s[0] in "WVu"], obj)


if __name__ == "__main__":
    unittest.main()
