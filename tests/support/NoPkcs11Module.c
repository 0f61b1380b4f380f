/* A shared library that is not a PKCS#11 module: it exports no
 * C_GetFunctionList. For tests of module admission. */

int velkNotAModule(void)
{
    return 0;
}
