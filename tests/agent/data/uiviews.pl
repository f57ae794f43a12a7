# pass_persist script of the "uiviews" data set: writable scalar groups and a table with a
# row-status column under V = B.30 (B = .1.3.6.1.4.1.43917.50.1.10.1.1); see uiviews.conf.
#
# snmpd reads this script's stdout and stderr as one stream: never print to STDERR.
use strict;
use warnings;

$| = 1;
my $V = '.1.3.6.1.4.1.43917.50.1.10.1.1.30';
my $T = "$V.20.1";    # table entry

# OID => [type, value, writable]
my %cells = (
    "$V.1.0"  => ['string', 'rack-3', 1],
    "$V.2.0"  => ['string', 'KSV-720E', 0],
    "$V.11.0" => ['string', 'ops@example.net', 1],
    "$V.12.0" => ['integer', '2', 1],
    "$V.13.0" => ['ipaddress', '192.0.2.1', 1],
    "$V.14.0" => ['string', 'SN-0042', 0],
);
# Table columns: column => type.
my %columns = (2 => 'string', 3 => 'integer', 4 => 'integer');
my %defaults = (2 => '', 3 => '0');
# What a get of a cell of a row that does not exist answers: snmpd lets a set reach this script
# only for an object that a get found, so a row could not be created otherwise. Walks
# (get-next) see the existing rows only.
my %absent = (2 => '', 3 => '0', 4 => '3');
# Rows: index => {column => value}.
my %rows = (
    1 => {2 => 'public', 3 => '100', 4 => '1'},
    2 => {2 => 'backup', 3 => '250', 4 => '1'},
);
# Cells set for a row that does not exist yet; they become the row's when it is created.
my %pending;

sub compare_oids {
    my @a = split /\./, substr($_[0], 1);
    my @b = split /\./, substr($_[1], 1);
    for my $i (0 .. ($#a < $#b ? $#a : $#b)) {
        return $a[$i] <=> $b[$i] if $a[$i] != $b[$i];
    }
    return @a <=> @b;
}

# Every OID served now, with its type and value.
sub served {
    my %all;
    $all{$_} = [$cells{$_}[0], $cells{$_}[1]] for keys %cells;
    for my $r (keys %rows) {
        for my $c (keys %columns) {
            $all{"$T.$c.$r"} = [$columns{$c}, $rows{$r}{$c}];
        }
    }
    return \%all;
}

sub answer {
    my ($oid, $cell) = @_;
    print "$oid\n$cell->[0]\n$cell->[1]\n";
}

sub decode_value {
    my ($value) = @_;
    my ($type, $text) = split / /, $value, 2;
    $text = '' unless defined $text;
    if ($text =~ /^"(.*)"$/s) { $text = $1; }
    if ($type eq 'octet') {
        # A string with unprintable bytes arrives as hex digits.
        (my $hex = $text) =~ s/[^0-9A-Fa-f]//g;
        $text = pack('H*', $hex);
        $type = 'string';
    }
    return ($type, $text);
}

sub set_value {
    my ($oid, $value) = @_;
    my ($type, $text) = decode_value($value);
    if (my $cell = $cells{$oid}) {
        return 'not-writable' unless $cell->[2];
        return 'wrong-type' unless $type eq $cell->[0];
        $cell->[1] = $text;
        return 'DONE';
    }
    my ($c, $r) = $oid =~ /^\Q$T\E\.(\d+)\.(\d+)$/;
    return 'not-writable' unless defined $r && $columns{$c};
    return 'wrong-type' unless $type eq $columns{$c};
    if ($c == 4) {
        if ($text eq '4' || $text eq '5') {
            return 'inconsistent-value' if $rows{$r};
            my %row = (%defaults, %{$pending{$r} || {}});
            $row{4} = $text eq '4' ? '1' : '2';
            $rows{$r} = \%row;
            delete $pending{$r};
        } elsif ($text eq '6') {
            delete $rows{$r};
            delete $pending{$r};
        } elsif ($text eq '1' || $text eq '2') {
            return 'inconsistent-value' unless $rows{$r};
            $rows{$r}{4} = $text;
        } else {
            return 'wrong-value';
        }
        return 'DONE';
    }
    if ($rows{$r}) {
        $rows{$r}{$c} = $text;
    } else {
        $pending{$r}{$c} = $text;
    }
    return 'DONE';
}

while (defined(my $command = <STDIN>)) {
    chomp $command;
    if ($command eq 'PING') { print "PONG\n"; next; }
    next if $command eq '';    # snmpd ends every set with an empty line
    my $oid = <STDIN>;
    last unless defined $oid;
    chomp $oid;
    if ($command eq 'get') {
        my $all = served();
        my ($c, $r) = $oid =~ /^\Q$T\E\.(\d+)\.(\d+)$/;
        if ($all->{$oid}) {
            answer($oid, $all->{$oid});
        } elsif (defined $r && $r > 0 && $columns{$c}) {
            answer($oid, [$columns{$c}, $absent{$c}]);
        } else {
            print "NONE\n";
        }
    } elsif ($command eq 'getnext') {
        my $all = served();
        my ($next) = sort { compare_oids($a, $b) } grep { compare_oids($_, $oid) > 0 } keys %$all;
        if (defined $next) { answer($next, $all->{$next}); } else { print "NONE\n"; }
    } elsif ($command eq 'set') {
        my $value = <STDIN>;
        last unless defined $value;
        chomp $value;
        print set_value($oid, $value), "\n";
    } else {
        print "NONE\n";
    }
}
