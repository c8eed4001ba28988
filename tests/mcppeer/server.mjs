// Statistics-service peer for the tests, on the official Model Context Protocol SDK: stateless
// streamable HTTP on 127.0.0.1 (a free port, printed first on stdout), answering either as plain
// JSON or as server-sent events. Every tool call is echoed on stdout as one line
// "CALL <json>" so the test can check what the client sent. Replies come from files under
// replies/, chosen by the call's arguments; a call with no file gets the tool error the SDK
// produces for a failing tool.
//
//   node server.mjs --style json|sse
import './webcrypto.mjs'; // first, so the global it sets on Node 18 is there before any SDK code
import { createServer } from 'node:http';
import { readFileSync, existsSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

import { Server } from '@modelcontextprotocol/sdk/server/index.js';
import { StreamableHTTPServerTransport } from '@modelcontextprotocol/sdk/server/streamableHttp.js';
import { CallToolRequestSchema, ListToolsRequestSchema } from '@modelcontextprotocol/sdk/types.js';

const here = dirname(fileURLToPath(import.meta.url));
const styleIndex = process.argv.indexOf('--style');
const style = styleIndex >= 0 ? process.argv[styleIndex + 1] : 'json';
if (style !== 'json' && style !== 'sse') {
  console.error(`unknown style ${style}`);
  process.exit(2);
}

// Keeps reply file names to plain characters whatever the arguments hold.
const safe = (value) => String(value ?? '').replace(/[^A-Za-z0-9_-]/g, '_');

function replyFile(name, args) {
  switch (name) {
    case 'lol_get_champion_analysis': {
      const fields = Array.isArray(args.desired_output_fields) ? args.desired_output_fields : [];
      const kind = fields.some((f) => String(f).startsWith('data.skill_combos')) ? 'combos' : 'analysis';
      return join(here, 'replies', 'champion_analysis', `${safe(args.champion)}.${kind}.txt`);
    }
    case 'lol_get_lane_matchup_guide':
      return join(here, 'replies', 'lane_matchup', `${safe(args.my_champion)}_vs_${safe(args.opponent_champion)}.json`);
    case 'lol_get_summoner_profile':
      return join(here, 'replies', 'summoner_profile', `${safe(args.game_name)}.txt`);
    default:
      return null;
  }
}

const tools = [
  'lol_get_champion_analysis',
  'lol_get_lane_matchup_guide',
  'lol_get_summoner_profile',
].map((name) => ({ name, description: name, inputSchema: { type: 'object' } }));

function makeServer() {
  const server = new Server({ name: 'metrion-test-peer', version: '1.0.0' }, { capabilities: { tools: {} } });
  server.setRequestHandler(ListToolsRequestSchema, async () => ({ tools }));
  server.setRequestHandler(CallToolRequestSchema, async (request) => {
    const { name, arguments: args = {} } = request.params;
    process.stdout.write(`CALL ${JSON.stringify({ name, arguments: args })}\n`);
    if (!tools.some((t) => t.name === name)) {
      return { isError: true, content: [{ type: 'text', text: `Unknown tool: ${name}` }] };
    }
    const file = replyFile(name, args);
    if (!file || !existsSync(file)) {
      return { isError: true, content: [{ type: 'text', text: `No data for ${JSON.stringify(args)}` }] };
    }
    return { content: [{ type: 'text', text: readFileSync(file, 'utf8') }] };
  });
  return server;
}

const http = createServer(async (req, res) => {
  if (req.url !== '/mcp') {
    res.writeHead(404).end();
    return;
  }
  // Stateless: a fresh server and transport for every request, as the SDK's examples do.
  const server = makeServer();
  const transport = new StreamableHTTPServerTransport({
    sessionIdGenerator: undefined,
    enableJsonResponse: style === 'json',
  });
  res.on('close', () => {
    transport.close();
    server.close();
  });
  try {
    await server.connect(transport);
    await transport.handleRequest(req, res);
  } catch (error) {
    console.error(error);
    if (!res.headersSent) res.writeHead(500).end();
  }
});

http.listen(0, '127.0.0.1', () => {
  process.stdout.write(`PORT ${http.address().port}\n`);
});

// The test fixture ends the peer by closing its standard input (or killing it).
process.stdin.on('end', () => process.exit(0));
process.stdin.resume();
