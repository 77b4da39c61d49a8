#!/usr/bin/perl
# Mechanical faults for scripts/mutants.sh --sample: every site of the product
# code where one small operator applies, each named by a key that survives
# edits elsewhere in its file:
#
#   path:hash:nth:operator:k
#
# hash: of the line's text (trimmed); nth: which line of that text in the file;
# k: which site of that operator in the line, left to right.
#
#   mutants-sites.pl list ROOT SEED EQUIVALENT-LIST
#       every site as one tab-separated line, in the order of the draw for SEED:
#       key, operator, path, line, reason (from the list) or -, old text, new text
#   mutants-sites.pl apply ROOT KEY
#       applies one site to its file under ROOT
#
# Sites: the C++ under the product folders (but the benchmarks, which only
# measure) and resources/*.rc. The order of the draw is a hash of the seed and
# the key, so an edit elsewhere leaves the rest of a sample as it was.
# Operators:
#   rel      < <=, > >=, == != moved across their boundary
#   const+1, const-1
#            an integer literal one up or down
#   bitor    one operand dropped from a chain of |
#   delete   an expression statement, break, continue or return; left out
#   bool     true and false swapped
#   swap     two adjacent arguments of one kind (plain names, integer or
#            floating literals)
# Comments, string and character literals and preprocessor lines are never
# touched. Faults that do not compile are left to the build to find.
use strict;
use warnings;
use Digest::MD5 qw(md5_hex);
use File::Find;
use Math::BigInt;

my @DIRS = qw(fractal image settings host framework tools x11);

# Comments, literals and directives (with their continuation lines) blanked
# out, length and line breaks kept: what is left is the code to mutate.
sub mask {
    my ($text) = @_;
    my $masked = $text;
    while ($text =~ m{ //[^\n]* | /\*.*?\*/ | [LuU8]*"(?:[^"\\\n]|\\.)*" | '(?:[^'\\\n]|\\.)*'
                     | ^[ \t]*\#(?:[^\n]*\\\n)*[^\n]* }gmsx) {
        substr($masked, $-[0], $+[0] - $-[0]) =~ s/[^\n]/\x01/g;
    }
    return $masked;
}

my $PAREN = qr{ ( \( (?: [^()]++ | (?-1) )* \) ) }x;
# One operand of a chain of |: a name, call, member, subscript or parenthesis.
my $OPERAND = qr{ ~? (?: \w+ | $PAREN ) (?: (?: :: | \. | -> ) \w+ | <[\w:\s,*]*> | $PAREN | \[ [^\]]* \] )* }x;
my $INT = qr{ (?<![\w.]) (?<!\d[eE][-+]) (?: 0[xX][0-9a-fA-F]+ | \d+ ) [uUlL]* (?![\w.]) }x;
my $FLOAT = qr{ (?<![\w.]) \d+\.\d*(?:[eE][-+]?\d+)? (?![\w.]) }x;
my $NAME = qr{ (?<![\w.]) [A-Za-z_]\w* (?: (?: \. | -> | :: ) \w+ )* (?![\w(]) }x;
my %NOT_A_VALUE = map { $_ => 1 } qw(int double float char bool long short unsigned signed void auto const);
my %OPPOSITE = ('<' => '<=', '<=' => '<', '>' => '>=', '>=' => '>', '==' => '!=', '!=' => '==',
                'true' => 'false', 'false' => 'true', 'TRUE' => 'FALSE', 'FALSE' => 'TRUE');

# An expression statement, break, continue or return without a value.
my $STATEMENT = qr{ ^(\s*)(?! .* = \s* (?:default|delete) \s*; ) ( (?: (?:\+\+|--|\*)? [\w.:\->\[\]]+ \s* (?: [-+*/%&|^]?=(?!=) | <<= | >>= | \+\+ | -- )
                             | (?! (?:if|for|while|switch|return|sizeof|static_assert|[A-Z_0-9]+) \s*\( ) [\w:.\->]+ \s*\(
                             | break\s*; | continue\s*; | return\s*; ) .*; ) \s*\x01*$ }x;

sub balanced {
    my ($s) = @_;
    for (['(', ')'], ['[', ']'], ['{', '}']) {
        my ($open, $close) = @$_;
        return 0 if (() = $s =~ /\Q$open/g) != (() = $s =~ /\Q$close/g);
    }
    return 1;
}

sub kind_of {
    my ($arg) = @_;
    return 'bool' if $arg =~ /^(?:true|false|TRUE|FALSE)$/;
    return 'int' if $arg =~ /^$INT$/;
    return 'float' if $arg =~ /^$FLOAT$/;
    return $NOT_A_VALUE{$arg} ? '' : 'name' if $arg =~ /^$NAME$/;
    return '';
}

sub plus_one {
    my ($literal, $step) = @_;
    my ($digits, $suffix) = $literal =~ /^(\w+?)([uUlL]*)$/;
    my $value = ($digits =~ /^0[xX]/ ? Math::BigInt->from_hex($digits) : Math::BigInt->new($digits)) + $step;
    return "(-1$suffix)" if $value < 0;
    return $value->bstr . $suffix unless $digits =~ /^(0[xX])(.*)$/;
    my ($prefix, $hex) = ($1, $2);
    my $out = substr($value->as_hex, 2);
    $out = uc $out if $hex =~ /[A-F]/;
    $out = ('0' x (length($hex) - length $out)) . $out if length $out < length $hex;
    return $prefix . $out . $suffix;
}

# The mutants of one line: [operator, [[start, length, new text], ...]] each.
# $prev is the masked code line before it (for statements without braces).
sub line_mutants {
    my ($m, $prev) = @_;
    my @out;
    while ($m =~ /(?<=\s)(<=|>=|<|>|==|!=)(?=\s)/g) { push @out, ['rel', [[$-[1], length $1, $OPPOSITE{$1}]]]; }
    while ($m =~ /$INT/g) {
        my ($at, $lit) = ($-[0], $&);
        push @out, ["const$_", [[$at, length $lit, plus_one($lit, $_ eq '+1' ? 1 : -1)]]] for qw(+1 -1);
    }
    while ($m =~ /\b(true|false|TRUE|FALSE)\b/g) { push @out, ['bool', [[$-[1], length $1, $OPPOSITE{$1}]]]; }
    # A chain of | whose start the line shows: each operand but a zero may go.
    while ($m =~ /(?<![\w.:>)\]])$OPERAND(?: \| $OPERAND)+(?=\s*(?:[|),;}\]]|\x01|$))/g) {
        my ($start, $end) = ($-[0], $+[0]);
        next unless substr($m, 0, $start) =~ /(?:^|[(,={?]|\breturn|[^:]:)\s*$/;
        my @ops;
        my $chain = substr($m, $start, $end - $start);
        push @ops, [$start + $-[0], $+[0] - $-[0]] while $chain =~ /\G(?: \| )?\K$OPERAND/g;
        for my $i (0 .. $#ops) {
            my ($at, $len) = @{ $ops[$i] };
            next if substr($m, $at, $len) =~ /^0[uUlL]*$/;
            push @out, ['bitor', [$i == 0 ? [$at, $len + 3, ''] : [$at - 3, $len + 3, '']]];
        }
    }
    # A whole statement on its own line.
    if ($m =~ $STATEMENT && balanced($2)) {
        my ($at, $len) = ($-[2], $+[2] - $-[2]);
        if ($prev =~ /(?:^|[;{}:])$/) {
            push @out, ['delete', [[$at, $len, '']]];
        } elsif ($prev =~ /(?:\)|\belse|\bdo)$/) {
            push @out, ['delete', [[$at, $len, '{}']]];  # the body of an if, for or while
        }
    }
    # Two adjacent arguments of one kind, other than min, max and swap.
    while ($m =~ /(?<=[({,])\s*([\w.:\->]+)(\s*,)\s*([\w.:\->]+)(?=\s*[,)}])/g) {
        my ($a, $b, $at_a, $at_b, $next) = ($1, $3, $-[1], $-[3], $+[2]);
        pos($m) = $next;
        next if $a eq $b || kind_of($a) eq '' || kind_of($a) ne kind_of($b);
        my $before = substr($m, 0, $at_a);
        next if $before =~ /\b(?:min|max|swap)\s*\(\s*$/;
        push @out, ['swap', [[$at_b, length $b, $a], [$at_a, length $a, $b]]];
    }
    return @out;
}

sub edit_line {
    my ($line, $edits) = @_;
    substr($line, $_->[0], $_->[1]) = $_->[2] for sort { $b->[0] <=> $a->[0] } @$edits;
    return $line;
}

sub trimmed { my ($s) = @_; $s =~ s/^\s+|\s+$//g; $s =~ s/\s+/ /g; return $s eq '' ? '(deleted)' : $s; }

# Every mutant of one file: [key, operator, line number, old line, new line].
sub file_mutants {
    my ($root, $path) = @_;
    open(my $in, '<:raw', "$root/$path") or die "cannot read $root/$path\n";
    my $text = do { local $/; <$in> };
    close $in;
    my @lines = split /\n/, $text, -1;
    my @masked = split /\n/, mask($text), -1;
    my (%seen, @out);
    my $prev = '';
    for my $i (0 .. $#lines) {
        my $m = $masked[$i];
        next if $m !~ /[^\x01\s]/;
        my $hash = substr(md5_hex(trimmed($lines[$i])), 0, 8);
        my $nth = ++$seen{$hash};
        my %k;
        for my $mut (line_mutants($m, $prev)) {
            my ($op, $edits) = @$mut;
            my $k = ++$k{$op};
            push @out, ["$path:$hash:$nth:$op:$k", $op, $i + 1, $lines[$i], edit_line($lines[$i], $edits)];
        }
        ($prev = $m) =~ s/[\x01\s]+$//;
    }
    return @out;
}

sub product_files {
    my ($root) = @_;
    my @files;
    # The benchmarks measure; no test reads what they print.
    find({ no_chdir => 1, wanted => sub { push @files, $File::Find::name if -f && /\.(?:cpp|h)$/ && !/Bench/ } },
         grep { -d } map { "$root/$_" } @DIRS);
    push @files, glob("$root/resources/*.rc");
    return sort map { substr($_, length($root) + 1) } @files;
}

my ($mode, $root, @rest) = @ARGV;
die "usage: mutants-sites.pl list ROOT SEED EQUIVALENT-LIST | apply ROOT KEY\n" unless $mode && $root;
if ($mode eq 'list') {
    my ($seed, $equivalent) = @rest;
    my %reason;
    if (defined $equivalent && -f $equivalent) {
        open(my $fh, '<', $equivalent) or die "cannot read $equivalent\n";
        while (<$fh>) {
            next if /^\s*(?:#|$)/;
            my ($key, $why) = /^\s*(\S+)\s*(.*?)\s*$/;
            $reason{$key} = $why eq '' ? 'equivalent' : $why;
        }
    }
    my @all = map { file_mutants($root, $_) } product_files($root);
    for my $mut (sort { $a->[5] cmp $b->[5] } map { [@$_, md5_hex("$seed:$_->[0]")] } @all) {
        my ($key, $op, $line, $old, $new) = @$mut;
        my ($path) = split /:/, $key;
        print join("\t", $key, $op, $path, $line, ($reason{$key} // '-') =~ s/\t/ /gr, trimmed($old), trimmed($new)), "\n";
    }
} elsif ($mode eq 'apply') {
    my ($key) = @rest;
    my ($path) = split /:/, $key;
    my ($mut) = grep { $_->[0] eq $key } file_mutants($root, $path);
    die "no site $key\n" unless $mut;
    open(my $in, '<:raw', "$root/$path") or die;
    my @lines = split /\n/, do { local $/; <$in> }, -1;
    close $in;
    $lines[$mut->[2] - 1] = $mut->[4];
    open(my $out, '>:raw', "$root/$path") or die;
    print $out join("\n", @lines);
    close $out;
    print "$path\t$mut->[2]\n";
} else {
    die "unknown mode $mode\n";
}
