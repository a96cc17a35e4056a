// "Ссылка": the calculation in the address's fragment, which never reaches a server: the
// calculation file's text without its tables, deflated and in base64url.

const PREFIX = '#calc=';

// The calculation file without its table record, which the page computes again.
export function withoutTables(calText) {
  return calText.replace(/\n\[DataTable\][\s\S]*?(?=\n\[End\])/, '');
}

async function through(stream, bytes) {
  const piped = new Blob([bytes]).stream().pipeThrough(stream);
  return new Uint8Array(await new Response(piped).arrayBuffer());
}

function base64url(bytes) {
  let text = '';
  for (const b of bytes) text += String.fromCharCode(b);
  return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64url(text) {
  const plain = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(plain, (c) => c.charCodeAt(0));
}

export async function linkFor(calText) {
  const packed = await through(new CompressionStream('deflate-raw'),
    new TextEncoder().encode(withoutTables(calText)));
  return location.origin + location.pathname + PREFIX + base64url(packed);
}

// The calculation text of an address's fragment; null when there is none; throws when it is
// broken (not base64url, not deflated) or foreign (not ours).
export async function calcOfFragment(hash) {
  if (hash === '' || hash === '#') return null;
  if (!hash.startsWith(PREFIX)) throw new Error('foreign');
  const packed = fromBase64url(hash.slice(PREFIX.length));
  return through(new DecompressionStream('deflate-raw'), packed);
}
