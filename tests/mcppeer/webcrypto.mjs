// Debian 12's Node 18 keeps the Web Crypto object off the global scope unless started with
// --experimental-global-webcrypto (a flag later versions drop); the SDK expects it there, as Node
// 20 and later provide it. Imported first by server.mjs.
import { webcrypto } from 'node:crypto';

if (globalThis.crypto === undefined) globalThis.crypto = webcrypto;
